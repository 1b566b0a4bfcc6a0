// Drawing: the tree-line pictures as style rules, item colours, and the li of
// a row with its cells, bullet, label, description and search highlights.
import { matchRanges } from "./search.js";

export const CELL = 16;

// <font size> equivalents: 1..7, and +n / -n relative to the default 3.
// The class vi-fs1 .. vi-fs7 of the style sheet.
export function fontSizeClass(value) {
  const v = value.trim();
  if (!/^[+-]?\d+$/.test(v)) return "";
  const n = /^[+-]/.test(v) ? 3 + parseInt(v, 10) : parseInt(v, 10);
  return " vi-fs" + Math.min(7, Math.max(1, n));
}

export function cssUrl(src) {
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
export function hasNoConnectors(base) {
  return base.lines &&
    ["midPic", "btmPic", "hlinePic", "vlinePic"].every(function (k) { return base[k] === base.topPic; });
}

// The style rules that draw the lines and signs with the root's pictures, for
// rows h pixels high. The pictures are 32 pixels high with their arm on the
// middle. They sit on the first item height of a row; in a row that its text
// makes taller, the vertical line is stretched on to the row's bottom.
export function lineRules(base, h, signPercent) {
  const PIC = 32, noConnectors = hasNoConnectors(base);
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
  return css;
}

function luminance(rgb) {
  const c = rgb.map(function (v) { v /= 255; return v <= 0.04045 ? v / 12.92 : Math.pow((v + 0.055) / 1.055, 2.4); });
  return 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2];
}
export function contrast(a, b) {
  const la = luminance(a), lb = luminance(b);
  return (Math.max(la, lb) + 0.05) / (Math.min(la, lb) + 0.05);
}
function rgbOf(colour, probe) {
  probe.style.color = "";
  probe.style.color = colour;
  const m = getComputedStyle(probe).color.match(/[\d.]+/g);
  return m ? m.slice(0, 3).map(Number) : null;
}

// The page's colours: the author's background, or the visitor's scheme when
// there is none, where item colours too dark to read give way to the text
// colour.
export function createColours(background) {
  const darkScheme = background ? null : window.matchMedia("(prefers-color-scheme: dark)");
  const readable = new Map();
  function readableOnDark(colour) {
    if (!readable.has(colour)) {
      const probe = document.body.appendChild(document.createElement("span"));
      const fg = rgbOf(colour, probe), back = rgbOf("Canvas", probe);
      probe.remove();
      readable.set(colour, contrast(fg || [0, 0, 0], back || [0, 0, 0]) >= 4.5);
    }
    return readable.get(colour);
  }
  // On a background too dark for the default black text, items without a
  // colour of their own are written in white.
  function pageText() {
    if (!background) return "";
    const probe = document.body.appendChild(document.createElement("span"));
    const back = rgbOf(background, probe);
    probe.remove();
    return back && contrast(back, [0, 0, 0]) < 4.5 ? "#fff" : "";
  }
  return {
    darkScheme: darkScheme,
    pageText: pageText,
    set: function (label, colour) {
      label.style.color = darkScheme && darkScheme.matches && !readableOnDark(colour) ? "" : colour;
    }
  };
}

// tree offers: base, lines, model, colours, active, currentNode, hoverOf,
// partsOf, nodeOf, query (the search text, "" when none).
export function createDrawing(tree) {
  const scratch = document.createElement("template");
  const lines = tree.lines;

  function plainText(html) {
    if (html.indexOf("<") < 0 && html.indexOf("&") < 0) return html;
    scratch.innerHTML = html;
    return scratch.content.textContent;
  }

  // An item's name when it has no text: its link description, else its link,
  // else its place.
  function blankName(node) {
    const item = node.item;
    if (/<img\b/i.test(item.text) || plainText(item.text).trim()) return "";
    return item.description.trim() || item.href.trim() || "Item " + (node.index + 1) + " of " + node.list.size;
  }

  function railCells(rails) {
    const frag = document.createDocumentFragment();
    for (let i = 0; i < rails.length; i++) {
      const cell = document.createElement("span");
      cell.className = rails[i] ? "vi-cell vi-rail" : "vi-cell";
      frag.appendChild(cell);
    }
    return frag;
  }

  // What the rows of one sibling list share, with the rails given.
  function rowPrototype(list, rails) {
    const li = document.createElement("li");
    li.setAttribute("role", "treeitem");
    li.setAttribute("aria-level", list.level);
    li.setAttribute("aria-setsize", list.size);
    const row = document.createElement("div");
    row.className = "vi-row";
    if (lines) {
      if (rails.length) row.appendChild(railCells(rails));
      row.appendChild(document.createElement("span"));
    } else if (list.level > 1) {
      row.style.paddingLeft = (list.level - 1) * CELL + "px";
    }
    li.appendChild(row);
    return li;
  }
  // While a search hides items, the lines join the rows that show: a rail
  // for every ancestor with a later sibling that shows.
  function searchRails(node) {
    const rails = [];
    for (let p = node.parent; p; p = p.parent) rails.unshift(!p.last);
    return rails;
  }

  // Marks the stretches of the label's text that match the search.
  function highlight(label, query) {
    const walker = document.createTreeWalker(label, NodeFilter.SHOW_TEXT);
    const texts = [];
    let full = "";
    for (let t = walker.nextNode(); t; t = walker.nextNode()) {
      texts.push([t, full.length]);
      full += t.data;
    }
    const ranges = matchRanges(full, query);
    for (let r = ranges.length - 1; r >= 0; r--) {
      for (let k = texts.length - 1; k >= 0; k--) {
        const t = texts[k][0], at = texts[k][1];
        const a = Math.max(ranges[r][0], at), b = Math.min(ranges[r][1], at + t.data.length);
        if (a >= b) continue;
        const range = document.createRange();
        range.setStart(t, a - at);
        range.setEnd(t, b - at);
        range.surroundContents(document.createElement("mark"));
      }
    }
  }

  function bulletSrc(node) {
    const item = node.item;
    return tree.model.isOpen(node) ? item.bulletOpen || item.bullet : item.bullet || item.bulletOpen;
  }

  // The li of a node, in the state the node is in now.
  function buildItem(node) {
    const item = node.item, model = tree.model;
    const searching = model.filter !== null;
    if (!node.list.proto) node.list.proto = rowPrototype(node.list, node.list.rails);
    const li = searching && lines ? rowPrototype(node.list, searchRails(node)) : node.list.proto.cloneNode(true);
    const parts = { label: null, pic: null, bullet: null };
    tree.partsOf.set(li, parts);
    li.className = node.items.length ? "vi-item vi-branch" : "vi-item";
    li.setAttribute("aria-posinset", node.index + 1);
    if (node.items.length) li.setAttribute("aria-expanded", model.isOpen(node) ? "true" : "false");
    if (node === tree.currentNode) li.setAttribute("aria-current", "page");
    li.tabIndex = node === tree.active ? 0 : -1;
    tree.nodeOf.set(li, node);

    const row = li.firstChild;
    if (lines) {
      const first = node.list.level === 1 && (searching ? node.row === 0 : node.index === 0);
      const shape = !(searching ? node.last : node.index === node.list.size - 1) ? (first ? "top" : "mid")
        : (first ? "hline" : "btm");
      row.lastChild.className = "vi-cell vi-own vi-c-" + shape;
    }

    if (item.bullet || item.bulletOpen) {
      const bullet = document.createElement("img");
      bullet.className = "vi-bullet";
      bullet.alt = "";
      bullet.src = bulletSrc(node);
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
    if (item.fontColor) tree.colours.set(label, item.fontColor);
    const name = blankName(node);
    if (item.outPic) {
      const pic = document.createElement("img");
      pic.src = tree.hoverOf.has(node) ? item.overPic || item.outPic : item.outPic;
      pic.alt = name || plainText(item.text);
      label.appendChild(pic);
      parts.pic = pic;
    } else if (item.text.indexOf("<") < 0 && item.text.indexOf("&") < 0) {
      label.textContent = item.text;
    } else {
      label.innerHTML = item.text;
    }
    if (tree.query && model.isMatch(node) && !item.outPic) highlight(label, tree.query);
    row.appendChild(label);
    if (name && !item.outPic) {
      li.setAttribute("aria-label", name);
      if (item.href) label.setAttribute("aria-label", name);
    }
    // The link description is the item's description, and shows beside it
    // while it has the keyboard focus (its tooltip shows only on hover).
    const description = item.description.trim();
    if (description && description !== name) {
      const note = document.createElement("span");
      note.className = "vi-desc";
      note.id = "vi-desc-" + model.idOf(node);
      note.setAttribute("aria-hidden", "true");
      note.textContent = description;
      note.style.marginLeft = (lines ? node.list.level * CELL : (node.list.level - 1) * CELL) + "px";
      li.appendChild(note);
      li.setAttribute("aria-describedby", note.id);
    }
    parts.label = label;
    return li;
  }

  // Shows whether a built branch is open.
  function showOpen(node, li) {
    li.setAttribute("aria-expanded", tree.model.isOpen(node) ? "true" : "false");
    const bullet = tree.partsOf.get(li).bullet;
    if (bullet) bullet.src = bulletSrc(node);
  }

  return { buildItem: buildItem, showOpen: showOpen, plainText: plainText, blankName: blankName };
}
