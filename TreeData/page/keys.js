// Keys: the keyboard table of the tree (arrows, Home and End, PageUp and
// PageDown, Enter and Space, "*", type-ahead and Escape).

export const TYPE_AHEAD_MS = 600;

// Type-ahead: the next shown row whose name starts with the text typed so
// far, keys less than TYPE_AHEAD_MS apart making one text.
export function createTypeAhead(nameOf, now) {
  let typed = "", typedAt = 0;
  return {
    running: function () { return typed !== "" && now() - typedAt <= TYPE_AHEAD_MS; },
    reset: function () { typed = ""; },
    next: function (rows, from, ch) {
      const t = now();
      typed = t - typedAt > TYPE_AHEAD_MS ? ch : typed + ch;
      typedAt = t;
      const needle = typed.toLowerCase();
      const n = rows.length, start = typed.length > 1 ? from : from + 1;
      for (let k = 0; k < n; k++) {
        const cur = rows[(start + k) % n];
        if (nameOf(cur).indexOf(needle) === 0) return cur;
      }
      return null;
    }
  };
}

// tree offers: el, model, rowLayout, nodeOfLi(li), setExpanded, setActive,
// activate, isStatic, viewHeight(), typeAhead and escape(node).
export function handleKeys(tree) {
  tree.el.addEventListener("keydown", function (e) {
    if (e.altKey || e.ctrlKey || e.metaKey) return;
    const li = e.target.closest("li.vi-item");
    if (!li) return;
    const node = tree.nodeOfLi(li), model = tree.model, rows = model.rows;
    let to = null, searchKey = false;
    switch (e.key) {
      case "ArrowDown": to = rows[node.row + 1] || null; break;
      case "ArrowUp": to = node.row > 0 ? rows[node.row - 1] : null; break;
      case "ArrowRight":
        if (node.items.length) {
          if (!model.isOpen(node)) tree.setExpanded(node, true);
          else to = node.kids[0];
        }
        break;
      case "ArrowLeft":
        if (node.items.length && model.isOpen(node) && !tree.isStatic) tree.setExpanded(node, false);
        else to = node.parent;
        break;
      case "Home": to = rows[0]; break;
      case "End": to = rows[rows.length - 1]; break;
      case "PageDown": case "PageUp":
        to = rows[tree.rowLayout.pageFrom(node.row, tree.viewHeight(), e.key === "PageDown")] || null;
        break;
      case "Enter": tree.activate(node, true); break;
      case " ":
        // A blank inside a type-ahead search is part of the search text.
        if (tree.typeAhead.running()) { to = tree.typeAhead.next(rows, node.row, " "); searchKey = true; }
        else tree.activate(node, true);
        break;
      case "*": {
        const siblings = node.parent ? node.parent.kids : model.roots;
        let any = false;
        for (let i = 0; i < siblings.length; i++) any = tree.setExpanded(siblings[i], true, true) || any;
        if (any) tree.relayout();
        break;
      }
      case "Escape": tree.escape(node); break;
      default:
        if (e.key.length === 1 && e.key.trim()) {
          to = tree.typeAhead.next(rows, node.row, e.key);
          searchKey = true;
          break;
        }
        return;
    }
    // Any other key ends a type-ahead search.
    if (!searchKey) tree.typeAhead.reset();
    e.preventDefault();
    if (to) tree.setActive(to, true);
  });
}
