// The tree model: a node for every item reached so far, which branches are
// open, and the rows that show, in order: the items of the open branches, or
// while a search runs, its matches and the branches that hold them.
import { menuItemObject } from "./items.js";

const NO_ITEMS = [];

// The items of a subMenu array, leaving out whatever custom.js put there that is no item.
export function itemsOf(list) {
  if (!Array.isArray(list) || !list.length) return NO_ITEMS;
  const out = [];
  for (let i = 0; i < list.length; i++) {
    if (list[i] instanceof menuItemObject) out.push(list[i]);
  }
  return out;
}

// A place in the tree as written in a URL: "0.1.0".
const PLACE = /^(0|[1-9]\d*)(\.(0|[1-9]\d*))*$/;
export function isPlace(text) { return PLACE.test(text); }

// base: the menuObject; isStatic: every branch open, always; openIds: the ids
// of the open branches, which the model keeps up to date.
export function createModel(base, isStatic, openIds) {
  const model = { roots: null, rows: [], filter: null };

  // A node's id: its places among its siblings from the top, "2.0.5".
  function idOf(node) {
    if (node.id === null) node.id = node.parent ? idOf(node.parent) + "." + node.index : String(node.index);
    return node.id;
  }

  // The child nodes of parent (the top level for null); children that were
  // open in this tab, or all in Static mode, open with them.
  function makeKids(parent) {
    const items = parent ? parent.items : itemsOf(base.menuItems);
    const level = parent ? parent.list.level + 1 : 1;
    // A rail (vline) runs beside the rows for every ancestor that has a next sibling.
    const rails = parent ? parent.list.rails.concat([parent.index < parent.list.size - 1]) : [];
    // What the siblings share; proto is the drawing's row template.
    const list = { level: level, size: items.length, rails: rails, proto: null };
    const kids = new Array(items.length);
    for (let i = 0; i < items.length; i++) {
      kids[i] = {
        item: items[i], items: itemsOf(items[i].subMenu), parent: parent, list: list, index: i,
        open: false, kids: null, row: -1, extra: 0, id: null, hit: 0, held: 0,
        last: i === items.length - 1 // the last of its siblings that show
      };
    }
    for (let i = 0; i < kids.length; i++) {
      if (kids[i].items.length && (isStatic || openIds.has(idOf(kids[i])))) {
        kids[i].open = true;
        kids[i].kids = makeKids(kids[i]);
      }
    }
    return kids;
  }
  function kidsOf(node) {
    if (!node.kids) node.kids = makeKids(node);
    return node.kids;
  }

  // Whether a branch shows its children now: a search shows the branches
  // that hold matches open, and keeps what the visitor does meanwhile apart.
  function isOpen(node) {
    const f = model.filter;
    if (!f) return node.open;
    const own = f.open.get(node);
    return own !== undefined ? own : node.held === f.mark;
  }
  // Whether the search running now matched the node.
  function isMatch(node) { return model.filter !== null && node.hit === model.filter.mark; }

  // Opens or closes a branch; false when nothing changed.
  function setOpen(node, open) {
    if (!node.items.length) return false;
    if (isStatic) open = true;
    if (open === isOpen(node)) return false;
    kidsOf(node);
    if (model.filter) {
      model.filter.open.set(node, open);
      return true;
    }
    node.open = open;
    if (!isStatic) {
      if (open) openIds.add(idOf(node)); else openIds.delete(idOf(node));
    }
    return true;
  }

  function isInside(node, branch) {
    for (let p = node.parent; p; p = p.parent) if (p === branch) return true;
    return false;
  }

  // Lists the shown rows after branches opened or closed, or a search changed.
  function layout() {
    const out = [], f = model.filter, mark = f ? f.mark : 0;
    (function walk(list, all) {
      let last = null;
      for (let i = 0; i < list.length; i++) {
        const n = list[i];
        if (!all && n.hit !== mark && n.held !== mark) continue;
        n.row = out.length;
        n.last = false;
        last = n;
        out.push(n);
        // A branch the visitor opened during a search shows all its children.
        if (isOpen(n)) walk(n.kids, all || n.held !== mark);
      }
      if (last) last.last = true;
    })(model.roots, !f);
    model.rows = out;
    return out;
  }
  function shown(node) { return model.rows[node.row] === node; }

  // The nodes from the top level down to the item at this place, or null.
  function pathTo(id) {
    if (!isPlace(String(id))) return null;
    const places = String(id).split(".");
    const path = [];
    let list = model.roots;
    for (let i = 0; i < places.length; i++) {
      const node = list[Number(places[i])];
      if (!node) return null;
      path.push(node);
      if (i < places.length - 1) list = kidsOf(node);
    }
    return path;
  }

  // Calls fn(item, id) for every item in file order, until it returns true.
  function eachItem(fn) {
    let stop = false;
    (function walk(items, prefix) {
      for (let i = 0; i < items.length && !stop; i++) {
        if (fn(items[i], prefix + i) === true) { stop = true; return; }
        walk(itemsOf(items[i].subMenu), prefix + i + ".");
      }
    })(itemsOf(base.menuItems), "");
  }

  // Every node of the tree in file order, made once when first needed.
  let everyNode = null;
  function allNodes() {
    if (!everyNode) {
      everyNode = [];
      (function walk(list) {
        for (let i = 0; i < list.length; i++) {
          everyNode.push(list[i]);
          if (list[i].items.length) walk(kidsOf(list[i]));
        }
      })(model.roots);
    }
    return everyNode;
  }

  // Shows only these nodes and the branches that hold them, opened; null
  // gives back the branches as the visitor left them. Each search marks its
  // matches (hit) and the branches holding them (held) with a number of its
  // own, which is quicker on a large tree than sets of nodes.
  let searches = 0;
  function setFilter(matches) {
    if (!matches) { model.filter = null; return; }
    const mark = ++searches;
    for (let i = 0; i < matches.length; i++) {
      matches[i].hit = mark;
      for (let p = matches[i].parent; p && p.held !== mark; p = p.parent) p.held = mark;
    }
    model.filter = { mark: mark, open: new Map(), count: matches.length };
  }

  Object.assign(model, { idOf, makeKids, kidsOf, isOpen, isMatch, setOpen, isInside, layout, shown, pathTo, eachItem,
    allNodes, setFilter });
  model.roots = makeKids(null);
  return model;
}
