// The current page and deep links: the item whose link shows in its target
// now (this window or a frame of the same site), else the item whose link was
// followed last in this tab; and the item that the address's # part names.
import { isPlace } from "./model.js";

// A link's address without its # part, resolved against the page; null when it is no URL.
export function urlKey(href, baseUrl) {
  try {
    const u = new URL(href, baseUrl);
    u.hash = "";
    return u.href;
  } catch { return null; }
}
export function lastSegment(key) {
  const path = key.replace(/[?#].*$/, "");
  return path.slice(path.lastIndexOf("/") + 1);
}
export function decoded(text) {
  try { return decodeURIComponent(text); } catch { return text; }
}

// What a window shows, as a key and the last part of its path, which a
// matching link must contain (so most links are never resolved).
export function shownAt(href) {
  const key = href ? urlKey(href) : null;
  const seg = key ? lastSegment(key) : "";
  return key ? { key: key, seg: seg, plainSeg: decoded(seg) } : null;
}
export function links(item, shown, baseUrl) {
  return !!shown && (item.href.indexOf(shown.seg) >= 0 || item.href.indexOf(shown.plainSeg) >= 0) &&
    urlKey(item.href, baseUrl) === shown.key;
}

// The id of the item that a # part names: by its link as written in
// custom.js ("#gizmo.html"), else by its place ("#0.1.0"); null for none.
export function deepLinkId(hash, model) {
  const raw = String(hash || "").replace(/^#/, "");
  if (!raw) return null;
  const plain = decoded(raw);
  let found = null;
  model.eachItem(function (item, id) {
    if (item.href && (item.href === raw || item.href === plain)) { found = id; return true; }
    return false;
  });
  if (found === null && isPlace(plain) && model.pathTo(plain)) found = plain;
  return found;
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
function shownIn(win) {
  try { return win ? shownAt(win.location.href) : null; } catch { return null; }
}

// Finds the current item's id; also returns the frames that links target,
// to follow what they show later. followedLink: { id, href } kept for this tab.
export function survey(model, followedLink) {
  const frames = new Map(), baseUrl = document.baseURI;
  let found = null, byFollowed = null;
  model.eachItem(function (item, id) {
    if (!item.href) return false;
    if (!frames.has(item.target)) {
      const win = targetWindow(item.target);
      frames.set(item.target, { win: win, shown: shownIn(win) });
    }
    if (found !== null) return false;
    if (links(item, frames.get(item.target).shown, baseUrl)) found = id;
    else if (followedLink && item.href === followedLink.href &&
             (byFollowed === null || id === followedLink.id)) byFollowed = id;
    return false;
  });
  return { current: found !== null ? found : byFollowed, frames: frames };
}

// When a frame that links open in loads a page of the menu (followed from
// the menu or from the page itself), onShown gets that item's id.
export function watchFrames(model, frames, onShown) {
  frames.forEach(function (f, target) {
    let el = null;
    try { el = f.win && f.win !== window ? f.win.frameElement : null; } catch { /* other site */ }
    if (!el) return;
    el.addEventListener("load", function () {
      const seen = shownIn(f.win);
      let hit = null;
      if (!seen) return;
      model.eachItem(function (item, id) {
        if (item.target === target && item.href && links(item, seen, document.baseURI)) { hit = id; return true; }
        return false;
      });
      if (hit !== null) onShown(hit);
    });
  });
}

// The # part that names an item: this page's own, else (in a frameset) the
// top page's; onChange is called with the new one whenever either changes.
export function watchHash(onChange) {
  function topHash() {
    try { return window.top !== window ? window.top.location.hash : ""; } catch { return ""; }
  }
  window.addEventListener("hashchange", function () { onChange(location.hash); });
  try {
    if (window.top !== window) window.top.addEventListener("hashchange", function () { onChange(topHash()); });
  } catch { /* another site's frameset */ }
  return location.hash || topHash();
}
