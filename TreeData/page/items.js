// The constructors that custom.js calls: the page's interface to it, and the
// only globals of the page. custom.js declares its own globals with var
// (BrowserSwitch, BackGroundColor, pmPercent, trans2x2, menuBase), so the page
// must not take any of those names.
export function menuObject(x, y, height, lines, plus, minus, top, mid, btm, hline, vline) {
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

export function menuItemObject(bullet, bulletOpen, outPic, overPic, text, fontSize, fontColor,
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
