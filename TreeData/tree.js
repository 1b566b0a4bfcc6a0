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
  this.bullet = String(bullet || "");
  this.bulletOpen = String(bulletOpen || "");
  this.outPic = String(outPic || "");
  this.overPic = String(overPic || "");
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
  const LONG_LIST = 100;
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

  function itemsOf(list) {
    if (!Array.isArray(list)) return [];
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
  // A node is the page's record of an item of a drawn list: its place in the
  // tree, its li once built and, once first expanded, its group and child list.

  const tree = document.createElement("ul");
  tree.className = "vi-tree" + (isStatic ? " vi-static" : "");
  tree.setAttribute("role", "tree");
  tree.setAttribute("aria-label", "Menu");
  tree.style.left = base.x + "px";
  tree.style.setProperty("--vi-x", base.x + "px");
  tree.style.top = base.y + "px";
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

  // The part of a row that all items of one sibling list share, cloned per item.
  function rowPrototype(level, setSize, rails) {
    const li = document.createElement("li");
    li.setAttribute("role", "treeitem");
    li.setAttribute("aria-level", level);
    li.setAttribute("aria-setsize", setSize);
    li.tabIndex = -1;
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

  function buildItem(node, setSize, proto) {
    const item = node.item;
    const li = proto.cloneNode(true);
    li.className = node.items.length ? "vi-item vi-branch" : "vi-item";
    li.setAttribute("aria-posinset", node.index + 1);
    if (node.items.length) li.setAttribute("aria-expanded", "false");
    nodeOf.set(li, node);

    const row = li.firstChild;
    if (lines) {
      const shape = node.index < setSize - 1 ? (node.level === 1 && node.index === 0 ? "top" : "mid")
        : (node.level === 1 && node.index === 0 ? "hline" : "btm");
      row.lastChild.className = "vi-cell vi-own vi-c-" + shape;
    }

    if (item.bullet || item.bulletOpen) {
      const bullet = document.createElement("img");
      bullet.className = "vi-bullet";
      bullet.alt = "";
      bullet.src = item.bullet || item.bulletOpen;
      row.appendChild(bullet);
      node.bullet = bullet;
    }

    const label = document.createElement(item.href ? "a" : "span");
    label.className = "vi-label" + fontSizeClass(item.fontSize);
    label.id = "vi-l-" + node.id;
    label.dir = "auto";
    if (item.href) {
      label.href = item.href;
      if (item.target) label.target = item.target;
      label.tabIndex = -1;
    }
    if (item.description) label.title = item.description;
    if (item.fontColor) setColour(label, item.fontColor);
    // An item without text is named by its link, else by its place.
    const blank = !/<img\b/i.test(item.text) && !plainText(item.text).trim();
    const name = blank ? item.description.trim() || item.href.trim() ||
      "Item " + (node.index + 1) + " of " + setSize : "";
    if (item.outPic) {
      const pic = document.createElement("img");
      pic.src = item.outPic;
      pic.alt = blank ? name : plainText(item.text);
      label.appendChild(pic);
      node.pic = pic;
    } else if (item.text.indexOf("<") < 0 && item.text.indexOf("&") < 0) {
      label.textContent = item.text;
    } else {
      label.innerHTML = item.text;
    }
    row.appendChild(label);
    if (blank && !item.outPic) {
      li.setAttribute("aria-label", name);
      if (item.href) label.setAttribute("aria-label", name);
    } else {
      li.setAttribute("aria-labelledby", label.id);
    }
    li.appendChild(row);
    node.li = li;
    node.label = label;
    return li;
  }

  // A sibling list: the nodes of all its items, and the rows built so far.
  // Long lists get their first rows at once and the rest shortly after, in
  // slices, so that a branch opens without delay however many children it
  // has. (Few large slices: every slice costs the browser a layout pass.)
  function makeList(parent, ul) {
    const items = parent ? parent.items : itemsOf(base.menuItems);
    const level = parent ? parent.level + 1 : 1;
    // A rail (vline) runs beside the rows for every ancestor that has a next sibling.
    const railsOf = parent ? parent.rails.concat([!parent.last]) : [];
    const list = {
      nodes: new Array(items.length), ul: ul, built: 0,
      proto: rowPrototype(level, items.length, lines && railsOf.length ? railCells(railsOf) : null)
    };
    for (let i = 0; i < items.length; i++) {
      list.nodes[i] = {
        item: items[i], items: itemsOf(items[i].subMenu), parent: parent, index: i, level: level,
        id: parent ? parent.id + "." + i : String(i), list: null, group: null,
        rails: railsOf, last: i === items.length - 1
      };
    }
    if (items.length > LONG_LIST) ul.classList.add("vi-long");
    build(list, Math.min(items.length, FIRST_ROWS));
    if (list.built < items.length) {
      pending.push(list);
      if (!pumping) pumping = setTimeout(pump, 0);
    }
    return list;
  }

  function build(list, upTo) {
    const from = list.built;
    if (upTo <= from) return;
    const frag = document.createDocumentFragment();
    for (let i = from; i < upTo; i++) frag.appendChild(buildItem(list.nodes[i], list.nodes.length, list.proto));
    list.built = upTo;
    list.ul.appendChild(frag);
    reopen(list.nodes.slice(from, upTo));
  }

  // Static mode shows everything at once, so it builds everything at once.
  const FIRST_ROWS = isStatic ? Infinity : 100, SLICE_ROWS = 1000, pending = [];
  let pumping = 0;
  function pump() {
    pumping = 0;
    const until = performance.now() + 8;
    while (pending.length && performance.now() < until) {
      const list = pending[0];
      build(list, Math.min(list.nodes.length, list.built + SLICE_ROWS));
      if (list.built === list.nodes.length) pending.shift();
    }
    if (pending.length) pumping = setTimeout(pump, 0);
  }
  // Builds every row still waiting, before anything walks the rows.
  function buildAll() {
    while (pending.length) {
      const list = pending.shift();
      build(list, list.nodes.length);
    }
  }

  // ---- Expanding and collapsing ---------------------------------------------

  // Ids of the open branches, kept for this tab; a branch opens again when
  // its row is next built.
  const openIds = new Set();
  let active = null; // the item that holds the tab stop

  function renderKids(node) {
    const group = document.createElement("ul");
    group.setAttribute("role", "group");
    node.group = group;
    node.li.appendChild(group);
    node.list = makeList(node, group);
  }

  function reopen(nodes) {
    nodes.forEach(function (n) {
      if (n.items.length && (isStatic || openIds.has(n.id))) setExpanded(n, true);
    });
  }

  function setExpanded(node, open) {
    if (!node.items.length) return false;
    if (isStatic) open = true;
    if (open === (node.li.getAttribute("aria-expanded") === "true")) return false;
    if (open && !node.group) renderKids(node);
    node.group.hidden = !open;
    // The tab stop never hides inside a closed branch.
    if (!open && active && node.group.contains(active)) {
      setActive(node.li, node.group.contains(document.activeElement));
    }
    node.li.setAttribute("aria-expanded", open ? "true" : "false");
    if (node.bullet) node.bullet.src = open ? (node.item.bulletOpen || node.item.bullet)
      : (node.item.bullet || node.item.bulletOpen);
    if (!isStatic) {
      if (open) openIds.add(node.id); else openIds.delete(node.id);
      save("open", Array.from(openIds));
    }
    return true;
  }

  function isOpen(node) { return node.li.getAttribute("aria-expanded") === "true"; }

  let roots = null;

  // Opens the branches down to the item with this id and returns its node.
  function reveal(id) {
    const path = String(id).split(".");
    let list = roots, node = null;
    for (let i = 0; i < path.length; i++) {
      build(list, list.nodes.length);
      node = list.nodes[Number(path[i])];
      if (!node) return null;
      if (i < path.length - 1) {
        setExpanded(node, true);
        list = node.list;
        if (!list) return null;
      }
    }
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

  // When a frame that links open in loads a page of the menu (followed from
  // the menu or from the page itself), that item becomes the current one.
  function watchFrames(frames) {
    frames.forEach(function (f, target) {
      let el = null;
      try { el = f.win && f.win !== window ? f.win.frameElement : null; } catch { /* other site */ }
      if (!el) return;
      el.addEventListener("load", function () {
        const shown = shownIn(f.win);
        let hit = null;
        if (!shown) return;
        eachItem(function (item, id) {
          if (hit === null && item.target === target && item.href && links(item, shown)) hit = id;
        });
        if (hit === null) return;
        const node = reveal(hit);
        markCurrent(node);
        if (!tree.contains(document.activeElement)) setActive(node.li, false);
      });
    });
  }

  function markCurrent(node) {
    const old = tree.querySelector('[aria-current="page"]');
    if (old) old.removeAttribute("aria-current");
    if (node) node.li.setAttribute("aria-current", "page");
  }

  // ---- Focus ----------------------------------------------------------------

  function setActive(li, focus) {
    if (active && active !== li) active.tabIndex = -1;
    active = li;
    li.tabIndex = 0;
    if (focus) li.focus();
  }

  function nextVisible(li) {
    const node = nodeOf.get(li);
    if (node.group && isOpen(node) && node.group.firstElementChild) return node.group.firstElementChild;
    for (let cur = li; cur; cur = parentLi(cur)) {
      if (cur.nextElementSibling) return cur.nextElementSibling;
    }
    return null;
  }
  function lastVisibleIn(li) {
    while (li && nodeOf.get(li).group && isOpen(nodeOf.get(li)) && nodeOf.get(li).group.lastElementChild) {
      li = nodeOf.get(li).group.lastElementChild;
    }
    return li;
  }
  function prevVisible(li) {
    const prev = li.previousElementSibling;
    return prev ? lastVisibleIn(prev) : parentLi(li);
  }
  function parentLi(li) {
    const p = nodeOf.get(li).parent;
    return p ? p.li : null;
  }

  // ---- Activation -----------------------------------------------------------

  function followed(node) {
    save("followed", { id: node.id, href: node.item.href });
    markCurrent(node);
  }

  // What a click on the text, or Enter and Space, does: a link is followed
  // (and its branch opened); a branch without a link opens or closes.
  function activate(node, viaKeyboard) {
    if (node.item.href) {
      followed(node);
      setExpanded(node, true);
      if (viaKeyboard) node.label.click();
      return;
    }
    setExpanded(node, !isOpen(node));
  }

  tree.addEventListener("click", function (e) {
    const li = e.target.closest && e.target.closest("li.vi-item");
    if (!li || !tree.contains(li)) return;
    const node = nodeOf.get(li);
    setActive(li, false);
    if (e.target.closest(".vi-label")) {
      if (e.isTrusted === false && e.target === node.label) return; // keyboard-made click
      if (e.ctrlKey || e.metaKey || e.shiftKey || e.button !== 0) return;
      activate(node, false);
    } else if (e.target.closest(".vi-own, .vi-bullet")) {
      setExpanded(node, !isOpen(node));
    }
  });

  // Focus stays on the treeitem even when the pointer lands on its link.
  tree.addEventListener("focusin", function (e) {
    const li = e.target.closest("li.vi-item");
    if (!li) return;
    if (e.target !== li) { li.focus({ preventScroll: true }); return; }
    setActive(li, false);
    hover(nodeOf.get(li), true, "focus");
  });
  tree.addEventListener("focusout", function (e) {
    if (e.target.classList.contains("vi-item")) hover(nodeOf.get(e.target), false, "focus");
  });

  // Mouse-over pictures: swapped in while the pointer is over the row or the
  // item has the keyboard focus.
  function hover(node, on, why) {
    if (!node || !node.pic || !node.item.overPic) return;
    node[why] = on;
    node.pic.src = node.pointer || node.focus ? node.item.overPic : node.item.outPic;
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
  function typeAhead(li, ch) {
    const now = Date.now();
    typed = now - typedAt > SEARCH_MS ? ch : typed + ch;
    typedAt = now;
    const needle = typed.toLowerCase();
    const start = typed.length > 1 ? li : nextVisible(li) || tree.firstElementChild;
    let cur = start;
    do {
      const n = nodeOf.get(cur);
      if (n.plain === undefined) n.plain = (n.label.textContent || (n.pic ? n.pic.alt : "")).trim().toLowerCase();
      if (n.plain.indexOf(needle) === 0) return cur;
      cur = nextVisible(cur) || tree.firstElementChild;
    } while (cur !== start);
    return null;
  }

  tree.addEventListener("keydown", function (e) {
    if (e.altKey || e.ctrlKey || e.metaKey) return;
    const li = e.target.closest("li.vi-item");
    if (!li) return;
    buildAll();
    const node = nodeOf.get(li);
    let to = null, searchKey = false;
    switch (e.key) {
      case "ArrowDown": to = nextVisible(li); break;
      case "ArrowUp": to = prevVisible(li); break;
      case "ArrowRight":
        if (node.items.length) {
          if (!isOpen(node)) setExpanded(node, true);
          else to = node.group.firstElementChild;
        }
        break;
      case "ArrowLeft":
        if (node.items.length && isOpen(node) && !isStatic) setExpanded(node, false);
        else to = parentLi(li);
        break;
      case "Home": to = tree.firstElementChild; break;
      case "End": to = lastVisibleIn(tree.lastElementChild); break;
      case "Enter": activate(node, true); break;
      case " ":
        // A blank inside a type-ahead search is part of the search text.
        if (searching()) { to = typeAhead(li, " "); searchKey = true; }
        else activate(node, true);
        break;
      case "*":
        (node.parent ? node.parent.list : roots).nodes.forEach(function (s) { setExpanded(s, true); });
        break;
      default:
        if (e.key.length === 1 && e.key.trim()) { to = typeAhead(li, e.key); searchKey = true; break; }
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
  roots = makeList(null, tree);
  const current = found.current !== null ? reveal(found.current) : null;
  markCurrent(current);
  watchFrames(found.frames);
  document.body.appendChild(tree);
  if (failure && !failure.hidden) tree.style.top = base.y + failure.offsetTop + failure.offsetHeight + "px";
  if (roots.nodes.length) setActive(current ? current.li : roots.nodes[0].li, false);
  if (current) {
    const r = current.li.firstElementChild.getBoundingClientRect();
    if (r.bottom > window.innerHeight || r.top < 0) current.li.scrollIntoView({ block: "center" });
  }
  if (darkScheme) {
    darkScheme.addEventListener("change", function () {
      drawLinesInCss();
      tree.querySelectorAll("li.vi-item").forEach(function (li) {
        const node = nodeOf.get(li);
        if (node.item.fontColor) setColour(node.label, node.item.fontColor);
      });
    });
  }
  performance.mark("vi-menu-drawn");
});
})();
