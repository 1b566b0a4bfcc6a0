// Export-shaped folders (custom.js, tree.html, treePics/) for the page tests,
// the menus written into them, a static server and the browser.
import { chromium } from 'playwright-core';
import assert from 'node:assert/strict';
import { createServer } from 'node:http';
import { copyFile, mkdir, mkdtemp, readFile, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const dataDir = process.env.VI_DATA_DIR;
if (!dataDir) throw new Error('VI_DATA_DIR must name the built TreeData folder');

// custom.js as the exporter writes it, less the comment header the page never reads:
// preamble, root statement, then the item statements, each line ended by CR LF.
function customJs(s, items) {
  const pic = (p) => `"treePics/${p}.gif"`;
  const pictures = ['false,"","","","","","",""',
    `true,${['plus', 'minus', 'top', 'mid', 'btm', 'hline', 'vline'].map(pic).join(',')}`,
    `true,${pic('plus')},${pic('minus')},${Array(5).fill(pic('2x2')).join(',')}`][s.lines];
  return [`var BrowserSwitch = ${s.browserSwitch};`, `var BackGroundColor = "${s.background}";`, 'var pmPercent = 50;',
    'var trans2x2=new Image();', 'trans2x2.src="treePics/2x2.gif";',
    `var menuBase = new menuObject(${s.x},${s.y},${s.height},${pictures});`, ...items,
  ].map((l) => l + '\r\n').join('');
}

// Writes root/name as an export would, with `extra` files beside tree.html.
// Bullets and pictures the items may name: folder, open, leaf, out, over (.svg).
export async function makeFolder(root, name, settings, items, extra = {}) {
  const s = { x: 5, y: 5, height: 20, lines: 1, lineColor: 'Black', pmColor: 'Black', background: '',
    browserSwitch: false, ...settings };
  const dir = path.join(root, name), pics = path.join(dir, 'treePics'), lines = path.join(dataDir, 'TreeLines');
  await mkdir(pics, { recursive: true });
  await copyFile(path.join(dataDir, 'tree.html'), path.join(dir, 'tree.html'));
  await copyFile(path.join(lines, '2x2.gif'), path.join(pics, '2x2.gif'));
  for (const p of ['top', 'mid', 'btm', 'hline', 'vline', 'plus', 'minus']) {
    const colour = p === 'plus' || p === 'minus' ? s.pmColor : s.lineColor;
    await copyFile(path.join(lines, colour, `${p}.gif`), path.join(pics, `${p}.gif`));
  }
  const fills = { folder: '#c90', open: '#fc3', leaf: '#393', out: '#00c', over: '#c00' };
  for (const [file, fill] of Object.entries(fills)) {
    await writeFile(path.join(pics, `${file}.svg`), '<svg xmlns="http://www.w3.org/2000/svg" width="12" height="12">' +
      `<rect width="12" height="12" fill="${fill}"/></svg>`);
  }
  await writeFile(path.join(dir, 'custom.js'), customJs(s, items));
  for (const [file, text] of Object.entries(extra)) await writeFile(path.join(dir, file), text);
}

// An item statement of a generated menu; `sample` below is written out in full.
export const statement = (at, text, href = '', kind = 'LEAF') => `menuBase.${at}= new menuItemObject(` +
  `"","","","","${text}","","","${href}","",""); //[+]${kind}[+]${text}[+]0[+]False[+]False[+]False[+]False`;

// Products > Widgets (link into frame "main"), Gadgets "quoted" C:\dir //[+] (escapes) > Deep & leaf
// (HTML text, link in this window), Picture (mouse-out/over pictures, _blank); Services (branch with a
// link, no bullets) > Support; About (font size +1, Maroon).
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
export const GADGETS = 'Gadgets "quoted" C:\\dir //[+]';

// A frameset as sites use it (menu left, pages in "main"), and its pages.
export const site = (main = 'blank.html') => ({
  ...Object.fromEntries(['blank', 'widgets', 'deep', 'support', 'services'].map((p) =>
    [`${p}.html`, `<!DOCTYPE html><title>${p}</title><p>${p} page`])),
  'index.html': `<!DOCTYPE html><html><head><title>Site</title></head><frameset cols="260,*">
<frame name="menu" src="tree.html"><frame name="main" src="${main}"></frameset></html>`,
});

// A browser, and a temporary root served on 127.0.0.1, for one test file.
export async function setUp() {
  const [browser, root] = await Promise.all([
    chromium.launch({ executablePath: process.env.VI_CHROMIUM || '/usr/bin/chromium',
      args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
        '--disable-background-networking', '--disable-component-update', '--disable-sync'] }),
    mkdtemp(path.join(tmpdir(), 'vi-page-')),
  ]);
  const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
    '.gif': 'image/gif', '.svg': 'image/svg+xml' };
  const server = createServer(async (req, res) => {
    try {
      const file = path.join(root, path.normalize(decodeURIComponent(new URL(req.url, 'http://x').pathname)));
      if (!file.startsWith(root)) throw new Error('outside the root');
      const body = await readFile(file);
      res.writeHead(200, { 'content-type': types[path.extname(file)] }).end(body);
    } catch {
      res.writeHead(404).end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { browser, root,
    url: (rel) => `http://127.0.0.1:${server.address().port}/${rel}`,
    fileUrl: (rel) => pathToFileURL(path.join(root, rel)).href,
    tearDown: async () => {
      await browser.close();
      await new Promise((resolve) => server.close(resolve));
      await rm(root, { recursive: true, force: true });
    } };
}

// Runs fn(page, context) on url in a fresh context, the menu waited for unless menu is false;
// the page must raise no script error unless scriptErrors allows them.
export async function withPage(browser, url, fn, { menu = true, scriptErrors = false, ...options } = {}) {
  const context = await browser.newContext(options);
  try {
    const page = await context.newPage(), errors = [];
    page.on('pageerror', (e) => errors.push(e.message));
    await page.goto(url);
    if (menu) await page.waitForSelector('[role=tree]', { state: 'attached' });
    await fn(page, context);
    if (!scriptErrors) assert.deepEqual(errors, []);
  } finally {
    await context.close();
  }
}
