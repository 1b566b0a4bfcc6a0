// The constructors that custom.js calls. Nothing else of the page is global:
// custom.js declares its own globals with var (BrowserSwitch, BackGroundColor,
// pmPercent, trans2x2, menuBase), so the page must not take any of those names.
function menuObject(x, y, height, lines, plus, minus, top, mid, btm, hline, vline) {
  this.x = Number(x) || 0;
  this.y = Number(y) || 0;
  this.itemHeight = Number(height) || 20;
  this.lines = lines === true || lines === "true";
  this.plusPic = String(plus || "");
  this.minusPic = String(minus || "");
  this.topPic = String(top || "");
  this.midPic = String(mid || "");
  this.btmPic = String(btm || "");
  this.hlinePic = String(hline || "");
  this.vlinePic = String(vline || "");
  this.menuItems = [];
}

function menuItemObject(bullet, bulletOpen, outPic, overPic, text, fontSize, fontColor,
                        href, target, description) {
  // A picture is a file in treePics: '#', '?' and '%' in its name are part of
  // the name, not of the URL.
  const picture = function (p) {
    p = String(p || "");
    return p.startsWith("treePics/") ? p.replace(/[#?%]/g, encodeURIComponent) : p;
  };
  this.bullet = picture(bullet);
  this.bulletOpen = picture(bulletOpen);
  this.outPic = picture(outPic);
  this.overPic = picture(overPic);
  this.text = String(text == null ? "" : text);
  this.fontSize = String(fontSize || "");
  this.fontColor = String(fontColor || "");
  this.href = String(href || "");
  this.target = String(target || "");
  this.description = String(description || "");
  this.subMenu = [];
}

// Any script error before the menu is drawn comes from custom.js (this script
// only defines functions until then): a file that failed to parse or run.
(function () {
"use strict";
let scriptFailed = false;
function noteScriptError() { scriptFailed = true; }
window.addEventListener("error", noteScriptError);

// Draws the menu once the parser has run custom.js, which the page loads after
// this script.
document.addEventListener("DOMContentLoaded", function () {
  "use strict";

  window.removeEventListener("error", noteScriptError);
  performance.mark("vi-menu-start");
  const base = window.menuBase;
  const loaded = base instanceof menuObject;
  // One line instead of a blank page when custom.js is missing or broken.
  const failure = document.getElementById("vi-failed");
  if (failure && (!loaded || scriptFailed)) failure.hidden = false;
  if (!loaded) return;

  const CELL = 16;
  const isStatic = window.BrowserSwitch === true;
  let signPercent = Number(window.pmPercent);
  if (!isFinite(signPercent)) signPercent = 50;
  signPercent = Math.min(100, Math.max(0, signPercent));
  const lines = base.lines;
  const storeKey = "vi-tree:" + location.pathname;

  // <font size> equivalents: 1..7, and +n / -n relative to the default 3.
  // The class vi-fs1 .. vi-fs7 of the style sheet.
  function fontSizeClass(value) {
    const v = value.trim();
    if (!/^[+-]?\d+$/.test(v)) return "";
    const n = /^[+-]/.test(v) ? 3 + parseInt(v, 10) : parseInt(v, 10);
    return " vi-fs" + Math.min(7, Math.max(1, n));
  }

  const NONE = [];
  function itemsOf(list) {
    if (!Array.isArray(list) || !list.length) return NONE;
    const out = [];
    for (let i = 0; i < list.length; i++) {
      if (list[i] instanceof menuItemObject) out.push(list[i]);
    }
    return out;
  }

  function storage() {
    try { return window.sessionStorage; } catch { return null; }
  }
  function load(name) {
    const s = storage();
    try { return s ? JSON.parse(s.getItem(storeKey + ":" + name) || "null") : null; } catch { return null; }
  }
  function save(name, value) {
    const s = storage();
    try { if (s) s.setItem(storeKey + ":" + name, JSON.stringify(value)); } catch { /* full or denied */ }
  }

  // ---- Page and picture styles -------------------------------------------

  const bg = typeof window.BackGroundColor === "string" ? window.BackGroundColor.trim() : "";
  if (bg) document.body.style.backgroundColor = bg;
  // Without a background of its own the page takes the visitor's colour
  // scheme; in a dark one, lines are drawn in the text colour and item colours
  // too dark to read give way to it.
  else document.documentElement.classList.add("vi-follow-scheme");
  const darkScheme = bg ? null : window.matchMedia("(prefers-color-scheme: dark)");

  function cssUrl(src) {
    return src ? 'url("' + src.replace(/["\\\n\r]/g, "\\$&") + '")' : "";
  }
  // Layers of [picture, position, size]; pictures without a size keep theirs.
  function layers(list) {
    const used = list.filter(function (l) { return l[0]; });
    if (!used.length) return "background-image:none;";
    const part = function (i, none) { return used.map(function (l) { return l[i] || none; }).join(","); };
    return "background-image:" + part(0) + ";background-position:" + part(1) + ";background-size:" +
      part(2, "auto") + ";";
  }
  // Plus and minus only: every connector picture is the same blank one.
  const noConnectors = lines &&
    ["midPic", "btmPic", "hlinePic", "vlinePic"].every(function (k) { return base[k] === base.topPic; });
  if (lines) {
    // The pictures are 32 pixels high with their arm on the middle. They sit
    // on the first item height of a row; in a row that its text makes taller,
    // the vertical line is stretched on to the row's bottom.
    const h = base.itemHeight, PIC = 32;
    const centre = "50% " + (h - PIC) / 2 + "px", signAt = "50% " + (h - PIC) * signPercent / 100 + "px";
    const vline = cssUrl(base.vlinePic);
    const onward = [vline, "50% 100%", "16px calc(100% - " + h / 2 + "px)"];
    let css = ".vi-rail{" + layers([[vline, "50% 0", "16px 100%"]]) + "}";
    ["top", "mid", "btm", "hline"].forEach(function (shape) {
      const join = cssUrl(base[shape + "Pic"]);
      const own = ".vi-c-" + shape;
      const below = !noConnectors && (shape === "top" || shape === "mid") ? onward : [""];
      css += own + "{" + layers([[join, centre], below]) + "}";
      css += ".vi-branch[aria-expanded=false]>.vi-row>" + own + "{" +
        layers([[cssUrl(base.plusPic), signAt], [join, centre], below]) + "}";
      css += ".vi-branch[aria-expanded=true]>.vi-row>" + own + "{" +
        layers([[cssUrl(base.minusPic), signAt], [join, centre], below]) + "}";
    });
    const style = document.createElement("style");
    style.textContent = css;
    document.head.appendChild(style);
  }

  // ---- Building rows --------------------------------------------------------

  const tree = document.createElement("ul");
  tree.className = "vi-tree" + (isStatic ? " vi-static" : "");
  tree.setAttribute("role", "tree");
  tree.setAttribute("aria-label", "Menu");
  tree.style.left = base.x + "px";
  tree.style.setProperty("--vi-x", base.x + "px");
  // The tree's offset from the top of the page: it is placed absolutely on
  // the page, so the scroll position alone tells which rows are in view,
  // without asking the browser for a layout.
  let treeTop = base.y;
  tree.style.top = treeTop + "px";
  tree.style.setProperty("--vi-h", base.itemHeight + "px");
  if (noConnectors) tree.classList.add("vi-no-connectors");
  const forcedColours = window.matchMedia("(forced-colors: active)");
  function drawLinesInCss() {
    tree.classList.toggle("vi-drawn-lines", forcedColours.matches || (darkScheme !== null && darkScheme.matches));
  }
  drawLinesInCss();
  forcedColours.addEventListener("change", drawLinesInCss);

  const scratch = document.createElement("template");
  // The node record of every built li.
  const nodeOf = new WeakMap();

  function railCells(rails) {
    const frag = document.createDocumentFragment();
    for (let i = 0; i < rails.length; i++) {
      const cell = document.createElement("span");
      cell.className = rails[i] ? "vi-cell vi-rail" : "vi-cell";
      frag.appendChild(cell);
    }
    return frag;
  }

  function plainText(html) {
    if (html.indexOf("<") < 0 && html.indexOf("&") < 0) return html;
    scratch.innerHTML = html;
    return scratch.content.textContent;
  }

  // Item colours stay as the author set them, except on a dark page that the
  // visitor's scheme chose, where one with less than 4.5:1 gives way to the
  // text colour.
  const readable = new Map();
  function luminance(rgb) {
    const c = rgb.map(function (v) { v /= 255; return v <= 0.04045 ? v / 12.92 : Math.pow((v + 0.055) / 1.055, 2.4); });
    return 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2];
  }
  function rgbOf(colour, probe) {
    probe.style.color = "";
    probe.style.color = colour;
    const m = getComputedStyle(probe).color.match(/[\d.]+/g);
    return m ? m.slice(0, 3).map(Number) : null;
  }
  function readableOnDark(colour) {
    if (!readable.has(colour)) {
      const probe = document.body.appendChild(document.createElement("span"));
      const fg = rgbOf(colour, probe), back = rgbOf("Canvas", probe);
      probe.remove();
      const a = fg ? luminance(fg) : 0, b = back ? luminance(back) : 0;
      readable.set(colour, (Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05) >= 4.5);
    }
    return readable.get(colour);
  }
  // On a background too dark for the default black text, items without a
  // colour of their own are written in white.
  if (bg) {
    const probe = document.body.appendChild(document.createElement("span"));
    const back = rgbOf(bg, probe);
    probe.remove();
    if (back && (luminance(back) + 0.05) / 0.05 < 4.5) document.body.style.color = "#fff";
  }
  function setColour(label, colour) {
    label.style.color = darkScheme && darkScheme.matches && !readableOnDark(colour) ? "" : colour;
  }

  // An item's name when it has no text: its link, else its place.
  function blankName(node) {
    const item = node.item;
    if (/<img\b/i.test(item.text) || plainText(item.text).trim()) return "";
    return item.description.trim() || item.href.trim() || "Item " + (node.index + 1) + " of " + node.list.size;
  }

  // The li of a node, in the state the node is in now.
  function buildItem(node) {
    const item = node.item;
    const li = node.list.proto.cloneNode(true);
    const parts = { label: null, pic: null, bullet: null };
    partsOf.set(li, parts);
    li.className = node.items.length ? "vi-item vi-branch" : "vi-item";
    li.setAttribute("aria-posinset", node.index + 1);
    if (node.items.length) li.setAttribute("aria-expanded", node.open ? "true" : "false");
    if (node === currentNode) li.setAttribute("aria-current", "page");
    li.tabIndex = node === active ? 0 : -1;
    nodeOf.set(li, node);

    const row = li.firstChild;
    if (lines) {
      const first = node.list.level === 1 && node.index === 0;
      const shape = node.index < node.list.size - 1 ? (first ? "top" : "mid") : (first ? "hline" : "btm");
      row.lastChild.className = "vi-cell vi-own vi-c-" + shape;
    }

    if (item.bullet || item.bulletOpen) {
      const bullet = document.createElement("img");
      bullet.className = "vi-bullet";
      bullet.alt = "";
      bullet.src = node.open ? item.bulletOpen || item.bullet : item.bullet || item.bulletOpen;
      row.appendChild(bullet);
      parts.bullet = bullet;
    }

    const label = document.createElement(item.href ? "a" : "span");
    label.className = "vi-label" + fontSizeClass(item.fontSize);
    label.dir = "auto";
    if (item.href) {
      label.href = item.href;
      if (item.target) label.target = item.target;
      label.tabIndex = -1;
    }
    if (item.description) label.title = item.description;
    if (item.fontColor) setColour(label, item.fontColor);
    const name = blankName(node);
    if (item.outPic) {
      const pic = document.createElement("img");
      pic.src = hoverOf.has(node) ? item.overPic || item.outPic : item.outPic;
      pic.alt = name || plainText(item.text);
      label.appendChild(pic);
      parts.pic = pic;
    } else if (item.text.indexOf("<") < 0 && item.text.indexOf("&") < 0) {
      label.textContent = item.text;
    } else {
      label.innerHTML = item.text;
    }
    row.appendChild(label);
    if (name && !item.outPic) {
      li.setAttribute("aria-label", name);
      if (item.href) label.setAttribute("aria-label", name);
    }
    parts.label = label;
    return li;
  }

  // ---- The rows -------------------------------------------------------------
  // A node is the page's record of an item: its place in the tree, whether it
  // is open and, once first opened, the nodes of its children. `rows` holds
  // the nodes that are shown, in order; only those in and near the viewport
  // (and the one holding the tab stop) have an li in the document, so the
  // document stays small however much of the tree is open. Rows are the item
  // height, except those measured taller; their extra heights are summed in
  // row order so that any row's offset is found by a binary search.

  const openIds = new Set(); // ids of the open branches, kept for this tab
  let active = null; // the node that holds the tab stop
  let currentNode = null; // the node of the page being shown
  let rows = [], extraAt = [], extraSum = [], totalExtra = 0;
  const liOf = new Map(); // node -> its li, for the rows in the document
  const h = base.itemHeight;
  // Up to this many shown rows are all in the document (the page can be
  // searched and printed whole); beyond, only those near the viewport.
  const ALL_ROWS = 300;

  function rowPrototype(level, size, rails) {
    const li = document.createElement("li");
    li.setAttribute("role", "treeitem");
    li.setAttribute("aria-level", level);
    li.setAttribute("aria-setsize", size);
    const row = document.createElement("div");
    row.className = "vi-row";
    if (lines) {
      if (rails) row.appendChild(rails);
      row.appendChild(document.createElement("span"));
    } else if (level > 1) {
      row.style.paddingLeft = (level - 1) * CELL + "px";
    }
    li.appendChild(row);
    return li;
  }

  // The child nodes of parent (the top level for null); children that were
  // open in this tab, or all in Static mode, open with them.
  function makeKids(parent) {
    const items = parent ? parent.items : itemsOf(base.menuItems);
    const level = parent ? parent.list.level + 1 : 1;
    // A rail (vline) runs beside the rows for every ancestor that has a next sibling.
    const rails = parent ? parent.list.rails.concat([parent.index < parent.list.size - 1]) : [];
    // What the siblings share.
    const list = {
      level: level, size: items.length, rails: rails,
      proto: rowPrototype(level, items.length, lines && rails.length ? railCells(rails) : null)
    };
    const kids = new Array(items.length);
    for (let i = 0; i < items.length; i++) {
      kids[i] = {
        item: items[i], items: itemsOf(items[i].subMenu), parent: parent, list: list, index: i,
        open: false, kids: null, row: -1, extra: 0, id: null
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
  // The label, mouse-out picture and bullet of every li built.
  const partsOf = new WeakMap();
  function partOf(node, name) {
    const li = liOf.get(node);
    return li ? partsOf.get(li)[name] : null;
  }
  // A node's id: its places among its siblings from the top, "2.0.5".
  function idOf(node) {
    if (node.id === null) node.id = node.parent ? idOf(node.parent) + "." + node.index : String(node.index);
    return node.id;
  }
  // The open branches are stored once per task, however many changed.
  let saveQueued = false;
  function saveOpenSoon() {
    if (saveQueued) return;
    saveQueued = true;
    setTimeout(saveOpen, 0);
  }
  function saveOpen() {
    if (!saveQueued) return;
    saveQueued = false;
    save("open", Array.from(openIds));
  }
  window.addEventListener("pagehide", saveOpen);
  let roots = [];

  // Lists the shown rows after branches opened or closed.
  function layout() {
    const out = [];
    extraAt = [];
    extraSum = [];
    let sum = 0;
    (function walk(list) {
      for (let i = 0; i < list.length; i++) {
        const n = list[i];
        n.row = out.length;
        if (n.extra) {
          sum += n.extra;
          extraAt.push(n.row);
          extraSum.push(sum);
        }
        out.push(n);
        if (n.open) walk(n.kids);
      }
    })(roots);
    rows = out;
    totalExtra = sum;
  }
  function shown(node) { return rows[node.row] === node; }

  // The offset of row i from the top of the tree.
  function top(i) {
    let lo = 0, hi = extraAt.length;
    while (lo < hi) {
      const mid = (lo + hi) >> 1;
      if (extraAt[mid] < i) lo = mid + 1; else hi = mid;
    }
    return i * h + (lo ? extraSum[lo - 1] : 0);
  }
  function heightOf(i) { return h + rows[i].extra; }
  // The row at offset y.
  function rowAt(y) {
    let lo = 0, hi = rows.length - 1;
    while (lo < hi) {
      const mid = (lo + hi + 1) >> 1;
      if (top(mid) <= y) lo = mid; else hi = mid - 1;
    }
    return lo;
  }

  let renderQueued = 0;
  function queueRender() {
    if (!renderQueued) renderQueued = requestAnimationFrame(function () { renderQueued = 0; render(); });
  }

  // Puts the li of every row in the window (and of the tab stop) in the
  // document, in row order, and takes out the others. Rows that stay are not
  // moved, so focus stays where it is.
  function render() {
    const n = rows.length;
    let first = 0, last = n - 1;
    if (n > ALL_ROWS) {
      const view = window.innerHeight || 600;
      const at = window.scrollY - treeTop;
      first = rowAt(Math.max(0, at - view / 2));
      last = rowAt(Math.max(0, at + view * 1.5));
    }
    const want = [];
    const far = active && shown(active) && (active.row < first || active.row > last) ? active : null;
    if (far && far.row < first) want.push(far);
    for (let i = first; i <= last; i++) want.push(rows[i]);
    if (far && far.row > last) want.push(far);

    const keep = new Set(want);
    liOf.forEach(function (li, node) {
      if (keep.has(node)) return;
      li.remove();
      liOf.delete(node);
    });
    let cursor = tree.firstElementChild;
    const added = [];
    for (let i = 0; i < want.length; i++) {
      const node = want[i];
      let li = liOf.get(node);
      if (!li) {
        li = buildItem(node);
        liOf.set(node, li);
        added.push(node);
      }
      if (li === cursor) cursor = cursor.nextElementSibling;
      else tree.insertBefore(li, cursor);
      if (node === far) {
        li.classList.add("vi-far");
        li.style.top = top(node.row) + "px";
      } else if (li.classList.contains("vi-far")) {
        li.classList.remove("vi-far");
        li.style.top = "";
      }
    }
    const pad = n ? top(first) : 0;
    tree.style.paddingTop = pad + "px";
    tree.style.height = n * h + totalExtra - pad + "px";

    if (added.length) {
      toMeasure.push.apply(toMeasure, added);
      if (!measureQueued) measureQueued = requestAnimationFrame(measure);
    }
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
  window.addEventListener("resize", queueRender);

  // ---- Expanding and collapsing ---------------------------------------------

  function isInside(node, branch) {
    for (let p = node.parent; p; p = p.parent) if (p === branch) return true;
    return false;
  }

  // Opens or closes a branch; `later` leaves the new rows to the caller's relayout.
  function setExpanded(node, open, later) {
    if (!node.items.length) return false;
    if (isStatic) open = true;
    if (open === node.open) return false;
    if (open && !node.kids) node.kids = makeKids(node);
    node.open = open;
    const li = liOf.get(node);
    if (li) li.setAttribute("aria-expanded", open ? "true" : "false");
    const bullet = partOf(node, "bullet");
    if (bullet) bullet.src = open ? (node.item.bulletOpen || node.item.bullet)
      : (node.item.bullet || node.item.bulletOpen);
    if (!isStatic) {
      if (open) openIds.add(idOf(node)); else openIds.delete(idOf(node));
      saveOpenSoon();
    }
    // The tab stop never hides inside a closed branch.
    if (!open && active && isInside(active, node)) {
      const focused = tree.contains(document.activeElement);
      active = node;
      layout();
      setActive(node, focused);
    } else if (!later) {
      relayout();
    }
    return true;
  }

  // Opens the branches down to the item with this id and returns its node.
  function reveal(id) {
    const path = String(id).split(".");
    let list = roots, node = null;
    for (let i = 0; i < path.length; i++) {
      node = list[Number(path[i])];
      if (!node) return null;
      if (i < path.length - 1) {
        setExpanded(node, true, true);
        list = node.kids;
        if (!list) return null;
      }
    }
    layout();
    return node;
  }

  // ---- The current page -----------------------------------------------------
  // The item whose link shows in its target now (this window or a frame of the
  // same site), else the item whose link was followed last in this tab.

  function urlKey(href, baseUrl) {
    try {
      const u = new URL(href, baseUrl || document.baseURI);
      u.hash = "";
      return u.href;
    } catch { return null; }
  }
  function lastSegment(key) {
    const path = key.replace(/[?#].*$/, "");
    return path.slice(path.lastIndexOf("/") + 1);
  }
  function decoded(text) {
    try { return decodeURIComponent(text); } catch { return text; }
  }
  function findFrame(win, name, depth) {
    try {
      for (let i = 0; i < win.frames.length; i++) {
        const f = win.frames[i];
        if (f.name === name) return f;
        if (depth > 0) { const found = findFrame(f, name, depth - 1); if (found) return found; }
      }
    } catch { /* another site's frame */ }
    return null;
  }
  function targetWindow(target) {
    const t = target.toLowerCase();
    if (!t || t === "_self") return window;
    if (t === "_top") return window.top;
    if (t === "_parent") return window.parent;
    return t === "_blank" ? null : findFrame(window.top, target, 3);
  }
  // What a window shows, as a key and the last part of its path, which a
  // matching link must contain (so most links are never resolved).
  function shownIn(win) {
    try {
      const key = win ? urlKey(win.location.href) : null;
      const seg = key ? lastSegment(key) : "";
      return key ? { key: key, seg: seg, plainSeg: decoded(seg) } : null;
    } catch { return null; }
  }
  function links(item, shown) {
    return shown && (item.href.indexOf(shown.seg) >= 0 || item.href.indexOf(shown.plainSeg) >= 0) &&
      urlKey(item.href) === shown.key;
  }

  // Calls fn(item, id) for every item in file order.
  function eachItem(fn) {
    (function walk(items, prefix) {
      for (let i = 0; i < items.length; i++) {
        fn(items[i], prefix + i);
        walk(itemsOf(items[i].subMenu), prefix + i + ".");
      }
    })(itemsOf(base.menuItems), "");
  }

  // Finds the current item's id; also returns the frames that links target,
  // to follow what they show later.
  function survey() {
    const frames = new Map(), followedLink = load("followed");
    let found = null, byFollowed = null;
    eachItem(function (item, id) {
      if (!item.href) return;
      if (!frames.has(item.target)) {
        const win = targetWindow(item.target);
        frames.set(item.target, { win: win, shown: shownIn(win) });
      }
      if (found !== null) return;
      if (links(item, frames.get(item.target).shown)) found = id;
      else if (followedLink && item.href === followedLink.href &&
               (byFollowed === null || id === followedLink.id)) byFollowed = id;
    });
    return { current: found !== null ? found : byFollowed, frames: frames };
  }

  function markCurrent(node) {
    const old = currentNode ? liOf.get(currentNode) : null;
    if (old) old.removeAttribute("aria-current");
    currentNode = node;
    const li = node ? liOf.get(node) : null;
    if (li) li.setAttribute("aria-current", "page");
  }

  // When a frame that links open in loads a page of the menu (followed from
  // the menu or from the page itself), that item becomes the current one.
  function watchFrames(frames) {
    frames.forEach(function (f, target) {
      let el = null;
      try { el = f.win && f.win !== window ? f.win.frameElement : null; } catch { /* other site */ }
      if (!el) return;
      el.addEventListener("load", function () {
        const seen = shownIn(f.win);
        let hit = null;
        if (!seen) return;
        eachItem(function (item, id) {
          if (hit === null && item.target === target && item.href && links(item, seen)) hit = id;
        });
        if (hit === null) return;
        const node = reveal(hit);
        render();
        markCurrent(node);
        if (!tree.contains(document.activeElement)) setActive(node, false);
      });
    });
  }

  // ---- Focus ----------------------------------------------------------------

  // Scrolls the page so that row i is in view, when only part of the rows
  // are in the document (else focusing the row scrolls it).
  function scrollToRow(i, centre) {
    if (rows.length <= ALL_ROWS) return;
    const view = window.innerHeight;
    const at = treeTop - window.scrollY + top(i), height = heightOf(i);
    if (centre) { if (at < 0 || at + height > view) window.scrollBy(0, at - (view - height) / 2); }
    else if (at < 0) window.scrollBy(0, at);
    else if (at + height > view) window.scrollBy(0, at + height - view);
  }

  function setActive(node, focus) {
    const old = active;
    active = node;
    if (old && old !== node && liOf.has(old)) liOf.get(old).tabIndex = -1;
    if (focus) scrollToRow(node.row, false);
    render();
    const li = liOf.get(node);
    if (!li) return;
    li.tabIndex = 0;
    if (focus) li.focus({ preventScroll: rows.length > ALL_ROWS });
  }

  // ---- Activation -----------------------------------------------------------

  function followed(node) {
    save("followed", { id: idOf(node), href: node.item.href });
    markCurrent(node);
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
    setExpanded(node, !node.open);
  }

  tree.addEventListener("click", function (e) {
    const li = e.target.closest && e.target.closest("li.vi-item");
    if (!li || !tree.contains(li)) return;
    const node = nodeOf.get(li);
    if (active !== node) setActive(node, false);
    if (e.target.closest(".vi-label")) {
      if (e.isTrusted === false && e.target === partOf(node, "label")) return; // keyboard-made click
      if (e.ctrlKey || e.metaKey || e.shiftKey || e.button !== 0) return;
      activate(node, false);
    } else if (e.target.closest(".vi-own, .vi-bullet")) {
      setExpanded(node, !node.open);
    }
  });

  // Focus stays on the treeitem even when the pointer lands on its link.
  tree.addEventListener("focusin", function (e) {
    const li = e.target.closest("li.vi-item");
    if (!li) return;
    if (e.target !== li) { li.focus({ preventScroll: true }); return; }
    const node = nodeOf.get(li);
    if (active !== node) setActive(node, false);
    hover(node, true, "focus");
  });
  tree.addEventListener("focusout", function (e) {
    if (e.target.classList.contains("vi-item")) hover(nodeOf.get(e.target), false, "focus");
  });

  // Mouse-over pictures: swapped in while the pointer is over the row or the
  // item has the keyboard focus.
  const hoverOf = new Map(); // node -> { pointer, focus } while either is on
  function hover(node, on, why) {
    if (!node || !node.item.overPic) return;
    const state = hoverOf.get(node) || { pointer: false, focus: false };
    state[why] = on;
    if (state.pointer || state.focus) hoverOf.set(node, state); else hoverOf.delete(node);
    const pic = partOf(node, "pic");
    if (pic) pic.src = hoverOf.has(node) ? node.item.overPic : node.item.outPic;
  }
  tree.addEventListener("pointerenter", function (e) {
    if (e.target.classList && e.target.classList.contains("vi-row")) hover(nodeOf.get(e.target.parentNode), true, "pointer");
  }, true);
  tree.addEventListener("pointerleave", function (e) {
    if (e.target.classList && e.target.classList.contains("vi-row")) hover(nodeOf.get(e.target.parentNode), false, "pointer");
  }, true);

  // ---- Keyboard -------------------------------------------------------------

  const SEARCH_MS = 600;
  let typed = "", typedAt = 0;
  function searching() { return typed !== "" && Date.now() - typedAt <= SEARCH_MS; }
  const plainOf = new Map();
  function plainName(node) {
    let name = plainOf.get(node);
    if (name === undefined) {
      name = (blankName(node) || plainText(node.item.text)).trim().toLowerCase();
      plainOf.set(node, name);
    }
    return name;
  }
  // The next shown row whose name starts with the text typed so far.
  function typeAhead(node, ch) {
    const now = Date.now();
    typed = now - typedAt > SEARCH_MS ? ch : typed + ch;
    typedAt = now;
    const needle = typed.toLowerCase();
    const n = rows.length, start = typed.length > 1 ? node.row : node.row + 1;
    for (let k = 0; k < n; k++) {
      const cur = rows[(start + k) % n];
      if (plainName(cur).indexOf(needle) === 0) return cur;
    }
    return null;
  }

  tree.addEventListener("keydown", function (e) {
    if (e.altKey || e.ctrlKey || e.metaKey) return;
    const li = e.target.closest("li.vi-item");
    if (!li) return;
    const node = nodeOf.get(li);
    let to = null, searchKey = false;
    switch (e.key) {
      case "ArrowDown": to = rows[node.row + 1] || null; break;
      case "ArrowUp": to = node.row > 0 ? rows[node.row - 1] : null; break;
      case "ArrowRight":
        if (node.items.length) {
          if (!node.open) setExpanded(node, true);
          else to = node.kids[0];
        }
        break;
      case "ArrowLeft":
        if (node.items.length && node.open && !isStatic) setExpanded(node, false);
        else to = node.parent;
        break;
      case "Home": to = rows[0]; break;
      case "End": to = rows[rows.length - 1]; break;
      case "Enter": activate(node, true); break;
      case " ":
        // A blank inside a type-ahead search is part of the search text.
        if (searching()) { to = typeAhead(node, " "); searchKey = true; }
        else activate(node, true);
        break;
      case "*": {
        const siblings = node.parent ? node.parent.kids : roots;
        let any = false;
        for (let i = 0; i < siblings.length; i++) any = setExpanded(siblings[i], true, true) || any;
        if (any) relayout();
        break;
      }
      default:
        if (e.key.length === 1 && e.key.trim()) { to = typeAhead(node, e.key); searchKey = true; break; }
        return;
    }
    // Any other key ends a type-ahead search.
    if (!searchKey) typed = "";
    e.preventDefault();
    if (to) setActive(to, true);
  });

  // ---- First draw -----------------------------------------------------------

  const found = survey();
  const saved = load("open");
  if (!isStatic && Array.isArray(saved)) {
    saved.forEach(function (id) { openIds.add(String(id)); });
  }
  roots = makeKids(null);
  const current = found.current !== null ? reveal(found.current) : null;
  layout();
  currentNode = current;
  watchFrames(found.frames);
  document.body.appendChild(tree);
  if (failure && !failure.hidden) {
    treeTop = base.y + failure.offsetTop + failure.offsetHeight;
    tree.style.top = treeTop + "px";
  }
  active = current || roots[0] || null;
  if (current) scrollToRow(current.row, true);
  render();
  if (current && rows.length <= ALL_ROWS) {
    const r = liOf.get(current).firstElementChild.getBoundingClientRect();
    if (r.bottom > window.innerHeight || r.top < 0) liOf.get(current).scrollIntoView({ block: "center" });
  }
  if (darkScheme) {
    darkScheme.addEventListener("change", function () {
      drawLinesInCss();
      liOf.forEach(function (li, node) {
        if (node.item.fontColor) setColour(partsOf.get(li).label, node.item.fontColor);
      });
    });
  }
  performance.mark("vi-menu-drawn");
});
})();
