// Search: which items hold the visitor's text in their label or link
// description, case and accents ignored, where in a label it stands, and the
// search field that filters the tree.

// Text compared without case and accents: "Café" and "cafe" are the same.
export function fold(text) {
  return text.normalize("NFD").replace(/\p{M}/gu, "").toLowerCase();
}

// The folded text, and for each of its characters the index in text of the
// character it came from (one more at the end: text's length).
export function foldMapped(text) {
  let out = "";
  const from = [];
  for (let i = 0; i < text.length;) {
    const ch = String.fromCodePoint(text.codePointAt(i)), f = fold(ch);
    for (let k = 0; k < f.length; k++) from.push(i);
    out += f;
    i += ch.length;
  }
  from.push(text.length);
  return { text: out, from: from };
}

// The stretches [start, end) of text that match query, in order.
export function matchRanges(text, query) {
  const q = fold(query.trim());
  if (!q) return [];
  const m = foldMapped(text), out = [];
  for (let at = m.text.indexOf(q); at >= 0; at = m.text.indexOf(q, at + q.length)) {
    out.push([m.from[at], m.from[at + q.length]]);
  }
  return out;
}

// A finder over nodes: find(query) gives the nodes whose text (textOf: the
// label's text and the link description) holds the query, in tree order, or
// null for an empty query. A longer query looks only among the last matches.
export function createFinder(nodes, textOf) {
  const folded = new Array(nodes.length);
  let last = null;
  function prepare() {
    for (let i = 0; i < nodes.length; i++) if (folded[i] === undefined) folded[i] = fold(textOf(nodes[i]));
  }
  function find(query) {
    const q = fold(query.trim());
    if (!q) { last = null; return null; }
    const among = last && q.indexOf(last.q) >= 0 ? last.at : null;
    const at = [];
    const n = among ? among.length : nodes.length;
    for (let k = 0; k < n; k++) {
      const i = among ? among[k] : k;
      if (folded[i] === undefined) folded[i] = fold(textOf(nodes[i]));
      if (folded[i].indexOf(q) >= 0) at.push(i);
    }
    last = { q: q, at: at };
    return at.map(function (i) { return nodes[i]; });
  }
  return { prepare: prepare, find: find };
}

// What the live region says after a search.
export function countText(n) {
  if (n === 0) return "No items found";
  // Grouped by hand: the first toLocaleString call costs a tenth of a key's time.
  return n === 1 ? "1 item found" : String(n).replace(/\B(?=(\d{3})+$)/g, ",") + " items found";
}

// The search field above the tree, and its keys. tree offers: model,
// searchText(node), showMatches(matches, query) and endSearch(), firstMatch()
// and focusFirstMatch().
export function createSearchField(tree) {
  const box = document.createElement("div");
  box.className = "vi-search";
  box.setAttribute("role", "search");
  const field = document.createElement("input");
  field.type = "search";
  field.className = "vi-field";
  field.placeholder = "Search";
  field.setAttribute("aria-label", "Search the menu");
  field.autocomplete = "off";
  field.spellcheck = false;
  const count = document.createElement("span");
  count.className = "vi-count";
  count.setAttribute("role", "status");
  box.appendChild(field);
  box.appendChild(count);

  let finder = null;
  function ready() {
    if (!finder) finder = createFinder(tree.model.allNodes(), tree.searchText);
    return finder;
  }
  // The work of the first search is done when the field gets the focus.
  field.addEventListener("focus", function () { ready().prepare(); });
  field.addEventListener("input", function () {
    const matches = ready().find(field.value);
    if (!matches) {
      count.textContent = "";
      tree.endSearch();
      return;
    }
    count.textContent = countText(matches.length);
    tree.showMatches(matches, field.value.trim());
  });
  field.addEventListener("keydown", function (e) {
    if (e.altKey || e.ctrlKey || e.metaKey || e.shiftKey) return;
    if (e.key === "ArrowDown" && tree.firstMatch()) {
      e.preventDefault();
      tree.focusFirstMatch();
    } else if (e.key === "Escape" && field.value) {
      e.preventDefault();
      clear();
    }
  });
  function clear() {
    field.value = "";
    count.textContent = "";
    if (finder) finder.find("");
    tree.endSearch();
  }
  return { box: box, field: field, clear: clear, active: function () { return field.value.trim() !== ""; } };
}
