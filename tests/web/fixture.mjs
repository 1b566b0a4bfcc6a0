// Export-shaped folders (custom.js, tree.html, treePics/) for the page tests,
// a static server for them, and the browser they are viewed in.
import { chromium } from 'playwright-core';
import { createServer } from 'node:http';
import { copyFile as cp, mkdir, mkdtemp, readFile, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

export const dataDir = process.env.VI_DATA_DIR;
export const artifactDir = process.env.VI_ARTIFACT_DIR || path.join(tmpdir(), 'vi-test-artifacts');
if (!dataDir) throw new Error('VI_DATA_DIR must name the built TreeData folder');

const HEIGHTS = { 16: 0, 20: 1, 24: 2, 28: 3, 32: 4 };
const LINE_PICTURES = ['plus', 'minus', 'top', 'mid', 'btm', 'hline', 'vline'];

// Lines 1-28 of custom.js, as the exporter writes them.
function header(s) {
  return [
    "// 'DO NOT WRITE TO OR ALTER THIS FILE",
    "// 'Even if you edit the JavaScript your risking",
    "// 'not being able to load it back into Vuvov-Ivoza",
    "// '", "// '", "// '", "// '",
    '//# Generator = Vuvov-Ivoza',
    '//# Version = 2.0.3',
    "// '",
    "// 'About: Vuvov-Ivoza by Vevadev, download free at https://example.org/",
    "// 'Copyright (c) Vevadev",
    "// '", "// '",
    `//# TreeX = ${s.x}`,
    `//# TreeY = ${s.y}`,
    `//# TreeSize = ${HEIGHTS[s.height]}`,
    `//# TreeLines = ${s.lines}`,
    `//# TreeLineColor = ${s.lineColor}`,
    `//# TreePMColor = ${s.pmColor}`,
    '//# TreeBNonExpanded = ',
    '//# TreeBExpanded = ',
    '//# TreeLeaf = ',
    '//# TreeTarget = ',
    `//# TreeBackground = ${s.background.trim()}`,
    '//# TreeFontSize = 2',
    '//# TreeFontColor = Black',
    '//\\\\',
  ];
}

function rootStatement(s) {
  const q = (name) => `"treePics/${name}"`;
  const pictures = {
    0: 'false,"","","","","","",""',
    1: 'true,' + LINE_PICTURES.map((p) => q(`${p}.gif`)).join(','),
    2: `true,${q('plus.gif')},${q('minus.gif')},` + Array(5).fill(q('2x2.gif')).join(','),
  }[s.lines];
  return `var menuBase = new menuObject(${s.x},${s.y},${s.height},${pictures});`;
}

// The whole custom.js text: header, preamble, root statement and the given
// item statements (written by hand in the tests), CR LF after every line.
export function customJs(settings, items) {
  const s = { x: 5, y: 5, height: 20, lines: 1, lineColor: 'Black', pmColor: 'Black',
    background: '', browserSwitch: false, ...settings };
  const lines = [
    ...header(s),
    `var BrowserSwitch = ${s.browserSwitch};`,
    `var BackGroundColor = "${s.background}";`,
    'var pmPercent = 50;',
    'var trans2x2=new Image();',
    'trans2x2.src="treePics/2x2.gif";',
    rootStatement(s),
    ...items,
  ];
  return lines.map((l) => l + '\r\n').join('');
}

const bullet = (fill) =>
  `<svg xmlns="http://www.w3.org/2000/svg" width="12" height="12"><rect width="12" height="12" fill="${fill}"/></svg>`;

// Writes an export-shaped folder and returns its path. Pictures the items may
// name: folder.svg, open.svg, leaf.svg, out.svg, over.svg.
export async function makeFolder(root, name, settings, items, extra = {}) {
  const s = { lineColor: 'Black', pmColor: 'Black', ...settings };
  const dir = path.join(root, name);
  const pics = path.join(dir, 'treePics');
  await mkdir(pics, { recursive: true });
  await cp(path.join(dataDir, 'tree.html'), path.join(dir, 'tree.html'));
  await cp(path.join(dataDir, 'TreeLines', '2x2.gif'), path.join(pics, '2x2.gif'));
  for (const p of ['top', 'mid', 'btm', 'hline', 'vline']) {
    await cp(path.join(dataDir, 'TreeLines', s.lineColor, `${p}.gif`), path.join(pics, `${p}.gif`));
  }
  for (const p of ['plus', 'minus']) {
    await cp(path.join(dataDir, 'TreeLines', s.pmColor, `${p}.gif`), path.join(pics, `${p}.gif`));
  }
  const svgs = { folder: '#c90', open: '#fc3', leaf: '#393', out: '#00c', over: '#c00' };
  for (const [file, fill] of Object.entries(svgs)) {
    await writeFile(path.join(pics, `${file}.svg`), bullet(fill));
  }
  await writeFile(path.join(dir, 'custom.js'), customJs(settings, items));
  for (const [file, text] of Object.entries(extra)) await writeFile(path.join(dir, file), text);
  return dir;
}

export async function tempRoot() {
  return mkdtemp(path.join(tmpdir(), 'vi-page-'));
}

const TYPES = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
  '.gif': 'image/gif', '.svg': 'image/svg+xml' };

// Serves `root` on 127.0.0.1 at a free port.
export async function serve(root) {
  const server = createServer(async (req, res) => {
    const rel = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    const file = path.join(root, path.normalize(rel));
    if (!file.startsWith(root)) { res.writeHead(403).end(); return; }
    try {
      const body = await readFile(file);
      res.writeHead(200, { 'content-type': TYPES[path.extname(file)] || 'application/octet-stream' });
      res.end(body);
    } catch {
      res.writeHead(404).end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {
    url: (rel) => `http://127.0.0.1:${server.address().port}/${rel}`,
    close: () => new Promise((resolve) => server.close(resolve)),
  };
}

export const fileUrl = (root, rel) => pathToFileURL(path.join(root, rel)).href;

export async function launch() {
  return chromium.launch({
    executablePath: process.env.VI_CHROMIUM || '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
}

// Opens a page that fails the test on any script error.
export async function open(context, url, { menu = true } = {}) {
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  page.errors = errors;
  await page.goto(url);
  if (menu) await page.waitForSelector('[role=tree]', { state: 'attached' });
  return page;
}

export async function cleanup(root) {
  await rm(root, { recursive: true, force: true });
}
