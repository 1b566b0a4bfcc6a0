// Item statements written by hand the way the exporter writes them, markers
// included. String.raw keeps the escapes exactly as they stand in custom.js.

// Products (branch)
//   Widgets (leaf, link into frame "main")
//   Gadgets "quoted" C:\dir //[+] (branch, escaped text)
//     Deep & leaf (HTML text, link in the same window)
//   Picture (leaf shown by mouse-out / mouse-over pictures, link in _blank)
// Services (branch with a link of its own, no bullets)
//   Support (leaf, link into "main")
// About (leaf, font size +1, Maroon)
export const sample = [
  String.raw`menuBase.menuItems[0]= new menuItemObject("treePics/folder.svg","treePics/open.svg","","","Products","2","Black","","",""); //[+]BRANCH[+]Products[+]0[+]False[+]False[+]False[+]True`,
  String.raw`menuBase.menuItems[0].subMenu[0]= new menuItemObject("treePics/leaf.svg","","","","Widgets","3","Navy","widgets.html","main","Our widgets"); //[+]LEAF[+]Widgets[+]1[+]False[+]False[+]False[+]False`,
  String.raw`menuBase.menuItems[0].subMenu[1]= new menuItemObject("treePics/folder.svg","treePics/open.svg","","","Gadgets \"quoted\" C:\\dir /\/[+]","1","Red","","",""); //[+]BRANCH[+]Gadgets[+]1[+]False[+]False[+]False[+]False`,
  String.raw`menuBase.menuItems[0].subMenu[1].subMenu[0]= new menuItemObject("treePics/leaf.svg","","","","<b>Deep</b> &amp; leaf","-1","","deep.html","","Deep \"down\""); //[+]LEAF[+]Deep[+]3[+]False[+]False[+]False[+]False`,
  String.raw`menuBase.menuItems[0].subMenu[2]= new menuItemObject("","","treePics/out.svg","treePics/over.svg","Picture","","","picture.html","_blank","A picture"); //[+]LEAF[+]Picture[+]1[+]False[+]False[+]False[+]False`,
  String.raw`menuBase.menuItems[1]= new menuItemObject("","","","","Services","","","services.html","main",""); //[+]BRANCH[+]Services[+]0[+]False[+]False[+]False[+]False`,
  String.raw`menuBase.menuItems[1].subMenu[0]= new menuItemObject("","","","","Support","","","support.html","main","Get help"); //[+]LEAF[+]Support[+]6[+]False[+]False[+]False[+]False`,
  String.raw`menuBase.menuItems[2]= new menuItemObject("treePics/leaf.svg","","","","About","+1","Maroon","about.html","main",""); //[+]LEAF[+]About[+]0[+]False[+]False[+]False[+]False`,
];

export const GADGETS_TEXT = 'Gadgets "quoted" C:\\dir //[+]';

// A frameset like the ones sites use: the menu on the left, pages on the right.
export const frameset = (main = 'blank.html') => `<!DOCTYPE html>
<html><head><title>Site</title></head>
<frameset cols="260,*">
  <frame name="menu" src="tree.html">
  <frame name="main" src="${main}">
</frameset></html>`;

export const pages = {
  'blank.html': '<!DOCTYPE html><title>Blank</title><p>Start</p>',
  'widgets.html': '<!DOCTYPE html><title>Widgets</title><p>Widgets page</p>',
  'deep.html': '<!DOCTYPE html><title>Deep</title><p>Deep page</p>',
  'support.html': '<!DOCTYPE html><title>Support</title><p>Support page</p>',
  'services.html': '<!DOCTYPE html><title>Services</title><p>Services page</p>',
};
