// The page: one tree object that holds the menu's state and joins the parts
// (model, row layout, drawing, current page, keys, search) to the document.
import { menuObject } from "./items.js";
import { createModel } from "./model.js";
import { createRowLayout } from "./rows.js";
import { createColours, createDrawing, hasNoConnectors, lineRules } from "./draw.js";
import { deepLinkId, survey, watchFrames, watchHash } from "./current.js";
import { createTypeAhead, handleKeys } from "./keys.js";
import { createSearchField } from "./search.js";

// Any script error before the menu is drawn comes from custom.js (this script
// only defines functions until then): a file that failed to parse or run.
let scriptFailed = false;
function noteScriptError() { scriptFailed = true; }
window.addEventListener("error", noteScriptError);

// Up to this many shown rows are all in the document; beyond, only those
// near the viewport (and the one holding the tab stop).
const ALL_ROWS = 300;
// Rows at least this high where the pointer is a finger.
const TOUCH_ROW = 24;

function storageOf(storeKey) {
  function storage() {
    try { return window.sessionStorage; } catch { return null; }
  }
  return {
    load: function (name) {
      const s = storage();
      try { return s ? JSON.parse(s.getItem(storeKey + ":" + name) || "null") : null; } catch { return null; }
    },
    save: function (name, value) {
      const s = storage();
      try { if (s) s.setItem(storeKey + ":" + name, JSON.stringify(value)); } catch { /* full or denied */ }
    }
  };
}

function drawMenu(base) {
  const isStatic = window.BrowserSwitch === true;
  let signPercent = Number(window.pmPercent);
  if (!isFinite(signPercent)) signPercent = 50;
  signPercent = Math.min(100, Math.max(0, signPercent));
  const store = storageOf("vi-tree:" + location.pathname);
  const openIds = new Set();
  const saved = store.load("open");
  if (!isStatic && Array.isArray(saved)) saved.forEach(function (id) { openIds.add(String(id)); });

  // A finger needs a taller row than the author's item height may give.
  const h = window.matchMedia("(pointer: coarse)").matches ? Math.max(TOUCH_ROW, base.itemHeight) : base.itemHeight;
  const bg = typeof window.BackGroundColor === "string" ? window.BackGroundColor.trim() : "";
  const tree = {
    base: base, isStatic: isStatic, lines: base.lines, model: null, rowLayout: createRowLayout(h),
    el: document.createElement("ul"), colours: createColours(bg),
    active: null, // the node that holds the tab stop
    currentNode: null, // the node of the page being shown
    query: "", // the search text while a search shows its matches
    printing: false,
    liOf: new Map(), // node -> its li, for the rows in the document
    nodeOf: new WeakMap(), // li -> its node
    partsOf: new WeakMap(), // li -> its label, mouse-out picture and bullet
    hoverOf: new Map(), // node -> { pointer, focus } while either is on
    typeAhead: null
  };
  tree.model = createModel(base, isStatic, openIds);
  const model = tree.model, rowLayout = tree.rowLayout, liOf = tree.liOf;
  const drawing = createDrawing(tree);

  // ---- Page and picture styles ----------------------------------------------

  if (bg) document.body.style.backgroundColor = bg;
  // Without a background of its own the page takes the visitor's colour
  // scheme; in a dark one, lines are drawn in the text colour.
  else document.documentElement.classList.add("vi-follow-scheme");
  const textColour = tree.colours.pageText();
  if (textColour) document.body.style.color = textColour;
  const noConnectors = hasNoConnectors(base);
  if (base.lines) {
    const style = document.createElement("style");
    style.textContent = lineRules(base, h, signPercent);
    document.head.appendChild(style);
  }

  const nav = document.createElement("nav");
  nav.className = "vi-nav";
  nav.setAttribute("aria-label", "Site menu");
  const el = tree.el;
  el.className = "vi-tree" + (isStatic ? " vi-static" : "");
  el.id = "vi-tree";
  el.setAttribute("role", "tree");
  el.setAttribute("aria-label", "Menu");
  el.style.left = base.x + "px";
  el.style.setProperty("--vi-x", base.x + "px");
  el.style.setProperty("--vi-h", h + "px");
  if (noConnectors) el.classList.add("vi-no-connectors");
  const forcedColours = window.matchMedia("(forced-colors: active)");
  const darkScheme = tree.colours.darkScheme;
  function drawLinesInCss() {
    el.classList.toggle("vi-drawn-lines", forcedColours.matches || (darkScheme !== null && darkScheme.matches));
  }
  drawLinesInCss();
  forcedColours.addEventListener("change", drawLinesInCss);

  // The tree's offset from the top of the page: it is placed absolutely on
  // the page, so the scroll position alone tells which rows are in view.
  let treeTop = base.y;

  // ---- The rows ---------------------------------------------------------------

  const openIdsSaver = { queued: false };
  function saveOpen() {
    if (!openIdsSaver.queued) return;
    openIdsSaver.queued = false;
    store.save("open", Array.from(openIds));
  }
  // The open branches are stored once per task, however many changed.
  function saveOpenSoon() {
    if (openIdsSaver.queued) return;
    openIdsSaver.queued = true;
    setTimeout(saveOpen, 0);
  }
  window.addEventListener("pagehide", saveOpen);

  function layout() { rowLayout.update(model.layout()); }

  let renderQueued = 0;
  function queueRender() {
    if (!renderQueued) renderQueued = requestAnimationFrame(function () { renderQueued = 0; render(); });
  }

  // Puts the li of every row in the window (and of the tab stop) in the
  // document, in row order, and takes out the others. Rows that stay are not
  // moved, so focus stays where it is. While the page prints, every shown row.
  function render() {
    const rows = model.rows, n = rows.length, active = tree.active;
    let first = 0, last = n - 1;
    if (n > ALL_ROWS && !tree.printing) {
      const view = window.innerHeight || 600;
      const at = window.scrollY - treeTop;
      first = rowLayout.rowAt(Math.max(0, at - view / 2));
      last = rowLayout.rowAt(Math.max(0, at + view * 1.5));
    }
    const want = [];
    const far = active && model.shown(active) && (active.row < first || active.row > last) ? active : null;
    if (far && far.row < first) want.push(far);
    for (let i = first; i <= last; i++) want.push(rows[i]);
    if (far && far.row > last) want.push(far);

    const keep = new Set(want);
    liOf.forEach(function (li, node) {
      if (keep.has(node)) return;
      li.remove();
      liOf.delete(node);
      finder.shown(node, false);
    });
    let cursor = el.firstElementChild;
    const added = [];
    for (let i = 0; i < want.length; i++) {
      const node = want[i];
      let li = liOf.get(node);
      if (!li) {
        li = drawing.buildItem(node);
        liOf.set(node, li);
        finder.shown(node, true);
        added.push(node);
      }
      if (li === cursor) cursor = cursor.nextElementSibling;
      else el.insertBefore(li, cursor);
      if (node === far) {
        li.classList.add("vi-far");
        li.style.top = rowLayout.top(node.row) + "px";
      } else if (li.classList.contains("vi-far")) {
        li.classList.remove("vi-far");
        li.style.top = "";
      }
    }
    const pad = n ? rowLayout.top(first) : 0;
    el.style.paddingTop = pad + "px";
    el.style.height = rowLayout.height() - pad + "px";

    if (added.length) {
      toMeasure.push.apply(toMeasure, added);
      if (!measureQueued) measureQueued = requestAnimationFrame(measure);
    }
  }
  // Drops every built row, for a change that touches them all.
  function rebuild() {
    liOf.forEach(function (li, node) { li.remove(); finder.shown(node, false); });
    liOf.clear();
  }

  // Finds the new rows that their text made taller than the item height. It
  // runs before the next frame is drawn, when the browser lays the page out
  // anyway; a row found taller moves the rows after it before anything shows.
  let toMeasure = [], measureQueued = 0;
  function measure() {
    measureQueued = 0;
    const nodes = toMeasure;
    toMeasure = [];
    let changed = false;
    for (let i = 0; i < nodes.length; i++) {
      const node = nodes[i], li = liOf.get(node);
      if (!li || li.classList.contains("vi-far")) continue;
      const extra = Math.max(0, li.offsetHeight - h);
      if (extra !== node.extra) { node.extra = extra; changed = true; }
    }
    if (changed) relayout();
  }
  function relayout() {
    layout();
    render();
  }
  window.addEventListener("scroll", queueRender, { passive: true });
  // A new width may wrap labels otherwise: every built row is measured again.
  window.addEventListener("resize", function () {
    liOf.forEach(function (li, node) { toMeasure.push(node); });
    if (!measureQueued) measureQueued = requestAnimationFrame(measure);
    queueRender();
  });

  // ---- Expanding and collapsing ---------------------------------------------

  // Opens or closes a branch; `later` leaves the new rows to the caller's relayout.
  function setExpanded(node, open, later) {
    if (!model.setOpen(node, open)) return false;
    const li = liOf.get(node);
    if (li) drawing.showOpen(node, li);
    if (!model.filter && !isStatic) saveOpenSoon();
    // The tab stop never hides inside a closed branch.
    const active = tree.active;
    if (!model.isOpen(node) && active && model.isInside(active, node)) {
      const focused = el.contains(document.activeElement);
      tree.active = node;
      layout();
      setActive(node, focused);
    } else if (!later) {
      relayout();
    }
    return true;
  }

  // Opens the branches down to the item with this id and returns its node.
  function reveal(id) {
    const path = model.pathTo(id);
    if (!path) return null;
    for (let i = 0; i < path.length - 1; i++) setExpanded(path[i], true, true);
    layout();
    return path[path.length - 1];
  }

  function markCurrent(node) {
    const old = tree.currentNode ? liOf.get(tree.currentNode) : null;
    if (old) old.removeAttribute("aria-current");
    tree.currentNode = node;
    const li = node ? liOf.get(node) : null;
    if (li) li.setAttribute("aria-current", "page");
  }

  // ---- Focus ----------------------------------------------------------------

  function viewHeight() { return window.innerHeight || 600; }
  // Scrolls the page so that row i is in view (centred if asked), when only
  // part of the rows are in the document (else focusing the row scrolls it).
  function scrollToRow(i, centre, always) {
    if (model.rows.length <= ALL_ROWS && !always) return;
    const view = viewHeight();
    const at = treeTop - window.scrollY + rowLayout.top(i), height = rowLayout.heightOf(i);
    if (centre) { if (at < 0 || at + height > view) window.scrollBy(0, at - (view - height) / 2); }
    else if (at < 0) window.scrollBy(0, at);
    else if (at + height > view) window.scrollBy(0, at + height - view);
  }

  function setActive(node, focus) {
    const old = tree.active;
    tree.active = node;
    if (old && old !== node && liOf.has(old)) liOf.get(old).tabIndex = -1;
    if (focus) scrollToRow(node.row, false);
    render();
    const li = liOf.get(node);
    if (!li) return;
    li.tabIndex = 0;
    if (focus) li.focus({ preventScroll: model.rows.length > ALL_ROWS });
  }

  // ---- Activation -----------------------------------------------------------

  function followed(node) {
    store.save("followed", { id: model.idOf(node), href: node.item.href });
    markCurrent(node);
  }
  function partOf(node, name) {
    const li = liOf.get(node);
    return li ? tree.partsOf.get(li)[name] : null;
  }

  // What a click on the text, or Enter and Space, does: a link is followed
  // (and its branch opened); a branch without a link opens or closes.
  function activate(node, viaKeyboard) {
    if (node.item.href) {
      followed(node);
      const label = partOf(node, "label");
      setExpanded(node, true);
      if (viaKeyboard && label) label.click();
      return;
    }
    setExpanded(node, !model.isOpen(node));
  }

  el.addEventListener("click", function (e) {
    const li = e.target.closest && e.target.closest("li.vi-item");
    if (!li || !el.contains(li)) return;
    const node = tree.nodeOf.get(li);
    if (tree.active !== node) setActive(node, false);
    if (e.target.closest(".vi-label")) {
      if (e.isTrusted === false && e.target === partOf(node, "label")) return; // keyboard-made click
      if (e.ctrlKey || e.metaKey || e.shiftKey || e.button !== 0) return;
      activate(node, false);
    } else if (e.target.closest(".vi-own, .vi-bullet")) {
      setExpanded(node, !model.isOpen(node));
    }
  });

  // Focus stays on the treeitem even when the pointer lands on its link.
  el.addEventListener("focusin", function (e) {
    const li = e.target.closest("li.vi-item");
    if (!li) return;
    if (e.target !== li) { li.focus({ preventScroll: true }); return; }
    el.classList.remove("vi-quiet");
    const node = tree.nodeOf.get(li);
    if (tree.active !== node) setActive(node, false);
    hover(node, true, "focus");
  });
  el.addEventListener("focusout", function (e) {
    if (e.target.classList.contains("vi-item")) hover(tree.nodeOf.get(e.target), false, "focus");
  });

  // Mouse-over pictures: swapped in while the pointer is over the row or the
  // item has the keyboard focus.
  function hover(node, on, why) {
    if (!node || !node.item.overPic) return;
    const hoverOf = tree.hoverOf;
    const state = hoverOf.get(node) || { pointer: false, focus: false };
    state[why] = on;
    if (state.pointer || state.focus) hoverOf.set(node, state); else hoverOf.delete(node);
    const pic = partOf(node, "pic");
    if (pic) pic.src = hoverOf.has(node) ? node.item.overPic : node.item.outPic;
  }
  el.addEventListener("pointerenter", function (e) {
    if (e.target.classList && e.target.classList.contains("vi-row")) hover(tree.nodeOf.get(e.target.parentNode), true, "pointer");
  }, true);
  el.addEventListener("pointerleave", function (e) {
    if (e.target.classList && e.target.classList.contains("vi-row")) hover(tree.nodeOf.get(e.target.parentNode), false, "pointer");
  }, true);

  // ---- Keys -----------------------------------------------------------------

  const plainOf = new Map();
  function plainName(node) {
    let name = plainOf.get(node);
    if (name === undefined) {
      name = (drawing.blankName(node) || drawing.plainText(node.item.text)).trim().toLowerCase();
      plainOf.set(node, name);
    }
    return name;
  }
  tree.typeAhead = createTypeAhead(plainName, Date.now);
  // Escape hides the focused item's description; during a search it also
  // ends the search, the focus staying on the item or the branch that holds it.
  function escape(node) {
    el.classList.add("vi-quiet");
    if (!search.active()) return;
    search.clear();
    let to = node;
    while (to.parent && !model.shown(to)) to = to.parent;
    setActive(to, true);
  }

  // ---- Search ---------------------------------------------------------------

  function searchText(node) {
    return (drawing.blankName(node) || drawing.plainText(node.item.text)) + "\n" + node.item.description;
  }
  function showMatches(matches, query) {
    model.setFilter(matches);
    tree.query = query;
    rebuild();
    layout();
    const first = matches[0];
    if (first) {
      tree.active = first;
      window.scrollTo(window.scrollX, 0);
      scrollToRow(first.row, false);
    }
    render();
  }
  function endSearch() {
    if (!model.filter) return;
    model.setFilter(null);
    tree.query = "";
    rebuild();
    layout();
    let to = tree.active;
    while (to && to.parent && !model.shown(to)) to = to.parent;
    tree.active = to;
    if (to) scrollToRow(to.row, true);
    render();
  }
  function firstMatch() {
    return model.filter ? model.rows.find(model.isMatch) : null;
  }
  const search = createSearchField(Object.assign(tree, {
    searchText: searchText, showMatches: showMatches, endSearch: endSearch, firstMatch: firstMatch,
    focusFirstMatch: function () { setActive(firstMatch(), true); }
  }));

  // ---- Find in page ---------------------------------------------------------
  // The text of every item waits in the page, hidden until the browser's
  // find looks for it; a row drawn in the tree hides its copy. When find
  // reaches a copy, the tree opens the item's branches and shows its row
  // where the copy stands, and the copy hides again.

  const finder = (function () {
    const GROUP = 256;
    const box = document.createElement("div");
    box.className = "vi-finder";
    box.setAttribute("aria-hidden", "true");
    const byId = new Map();
    function shown(node, drawn) {
      const copy = byId.get(model.idOf(node));
      if (copy) copy.style.display = drawn ? "none" : "";
    }
    function build() {
      const todo = [];
      model.eachItem(function (item, id) { todo.push([item, id]); return false; });
      let at = 0, group = null;
      // Made a few milliseconds at a time: the first right after the first
      // draw, the others while the browser is idle, so that they never hold
      // up a key or a frame.
      const soon = function (fn) {
        return setTimeout(function () {
          const end = performance.now() + 8;
          fn({ timeRemaining: function () { return end - performance.now(); } });
        }, 0);
      };
      const later = window.requestIdleCallback || soon;
      soon(function slice(idle) {
        const first = at, drawnIds = new Set();
        liOf.forEach(function (li, node) { drawnIds.add(model.idOf(node)); });
        while (at < todo.length && (at - first < 64 || idle.timeRemaining() > 2)) {
          // Copies come in groups, themselves hidden until found, so that the
          // browser keeps track of a few hidden things rather than of every
          // item, and lays out a group apart from the others.
          if (at % GROUP === 0) {
            group = box.appendChild(document.createElement("div"));
            group.className = "vi-finds";
            group.setAttribute("hidden", "until-found");
          }
          const item = todo[at][0], id = todo[at][1];
          const copy = document.createElement("div");
          copy.setAttribute("hidden", "until-found");
          copy.textContent = drawing.plainText(item.text);
          copy.setAttribute("data-id", id);
          byId.set(id, copy);
          group.appendChild(copy);
          if (drawnIds.has(id)) copy.style.display = "none";
          at++;
        }
        if (at < todo.length) later(slice);
      });
    }
    box.addEventListener("beforematch", function (e) {
      const copy = e.target, id = copy.getAttribute("data-id");
      if (id === null || byId.get(id) !== copy) return;
      if (search.active()) search.clear();
      const node = reveal(id);
      if (!node) return;
      // The copy stands where the row is, so that find scrolls the row into view.
      copy.style.position = "absolute";
      copy.style.top = treeTop + rowLayout.top(node.row) + "px";
      setActive(node, false);
      // Whether or not the browser scrolled to the copy, the row ends in view.
      const settle = function () { scrollToRow(node.row, true, true); render(); };
      requestAnimationFrame(function () {
        copy.style.position = copy.style.top = "";
        copy.setAttribute("hidden", "until-found");
        copy.parentNode.setAttribute("hidden", "until-found");
        settle();
        setTimeout(settle, 100);
      });
    });
    return { box: box, build: build, shown: shown };
  })();

  // ---- Printing -------------------------------------------------------------
  // Every shown row is printed, in the flow of the pages.

  window.addEventListener("beforeprint", function () { tree.printing = true; render(); });
  window.addEventListener("afterprint", function () { tree.printing = false; render(); });

  // ---- Deep links -----------------------------------------------------------

  // Opens the branches down to the item that a # part names, scrolls it into
  // view and gives it the tab stop; false when it names none.
  function goTo(hash, focus) {
    const id = deepLinkId(hash, model);
    if (id === null) return false;
    if (search.active()) search.clear();
    const node = reveal(id);
    if (!node) return false;
    scrollToRow(node.row, true, true);
    setActive(node, focus);
    const li = liOf.get(node);
    if (li && model.rows.length <= ALL_ROWS) li.scrollIntoView({ block: "nearest" });
    return true;
  }

  // ---- First draw -----------------------------------------------------------

  tree.relayout = relayout;
  tree.nodeOfLi = function (li) { return tree.nodeOf.get(li); };
  tree.setExpanded = setExpanded;
  tree.setActive = setActive;
  tree.activate = activate;
  tree.viewHeight = viewHeight;
  tree.escape = escape;
  handleKeys(tree);

  const found = survey(model, store.load("followed"));
  const current = found.current !== null ? reveal(found.current) : null;
  layout();
  tree.currentNode = current;
  watchFrames(model, found.frames, function (id) {
    const node = reveal(id);
    render();
    markCurrent(node);
    if (!el.contains(document.activeElement)) setActive(node, false);
  });
  nav.appendChild(search.box);
  nav.appendChild(el);
  nav.appendChild(finder.box);
  document.body.appendChild(nav);
  // The search field stands at the menu's place, the tree below it.
  const failure = document.getElementById("vi-failed");
  const top = base.y + (failure && !failure.hidden ? failure.offsetTop + failure.offsetHeight : 0);
  search.box.style.left = base.x + "px";
  search.box.style.top = top + "px";
  search.box.style.setProperty("--vi-x", base.x + "px");
  treeTop = top + search.box.offsetHeight;
  el.style.top = treeTop + "px";
  // The field's line grows when the count wraps below it on a narrow page,
  // or with the visitor's font: the tree moves down with it.
  if (window.ResizeObserver) {
    new ResizeObserver(function () {
      const now = top + search.box.offsetHeight;
      if (now === treeTop) return;
      treeTop = now;
      el.style.top = treeTop + "px";
      render();
    }).observe(search.box);
  }
  finder.box.style.left = base.x + "px";
  document.documentElement.style.setProperty("--vi-print-top", top + "px");

  tree.active = current || model.roots[0] || null;
  if (current) scrollToRow(current.row, true);
  render();
  if (current && model.rows.length <= ALL_ROWS) {
    const r = liOf.get(current).firstElementChild.getBoundingClientRect();
    if (r.bottom > window.innerHeight || r.top < 0) liOf.get(current).scrollIntoView({ block: "center" });
  }
  const hash = watchHash(function (h) { goTo(h, el.contains(document.activeElement)); });
  if (hash) goTo(hash, false);
  if (darkScheme) {
    darkScheme.addEventListener("change", function () {
      drawLinesInCss();
      liOf.forEach(function (li, node) {
        if (node.item.fontColor) tree.colours.set(tree.partsOf.get(li).label, node.item.fontColor);
      });
    });
  }
  // The copies for the browser's find are made after the first draw.
  setTimeout(finder.build, 0);
  return tree;
}

// Draws the menu once the parser has run custom.js, which the page loads after
// this script.
document.addEventListener("DOMContentLoaded", function () {
  window.removeEventListener("error", noteScriptError);
  performance.mark("vi-menu-start");
  const base = window.menuBase;
  const loaded = base instanceof menuObject;
  // One line instead of a blank page when custom.js is missing or broken.
  const failure = document.getElementById("vi-failed");
  if (failure && (!loaded || scriptFailed)) failure.hidden = false;
  if (!loaded) return;
  drawMenu(base);
  performance.mark("vi-menu-drawn");
});
