// Times the menu page on a menu of 32,766 items in headless Chromium: the
// first draw, opening a branch of 1,000 children, '*', keys and scrolling,
// each key typed into the search field, and going to an item by a deep link.
//
//   node bench/page/page-bench.mjs [TreeData folder]    (default build/bin/TreeData)
import { chromium } from 'playwright-core';
import { copyFile, mkdir, mkdtemp, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const dataDir = path.resolve(process.argv[2] || process.env.VI_DATA_DIR || 'build/bin/TreeData');
const TOTAL = 32766, BIG = 1000, BRANCHES = 63, PER_BRANCH = 503, RUNS = Number(process.env.VI_RUNS) || 7;

function customJs(browserSwitch) {
  const lines = [];
  for (let i = 0; i < 7; i++) lines.push("// '");
  lines.push('//# Generator = Vuvov-Ivoza', '//# Version = 2.0.3');
  while (lines.length < 27) lines.push("// '");
  lines.push('//\\\\',
    `var BrowserSwitch = ${browserSwitch};`, 'var BackGroundColor = "";', 'var pmPercent = 50;',
    'var trans2x2=new Image();', 'trans2x2.src="treePics/2x2.gif";',
    'var menuBase = new menuObject(5,5,20,true,"treePics/plus.gif","treePics/minus.gif","treePics/top.gif","treePics/mid.gif","treePics/btm.gif","treePics/hline.gif","treePics/vline.gif");');
  let row = 0;
  const item = (p, kind, text, parentRow) => {
    row++;
    lines.push(`${p}= new menuItemObject("","","","","${text}","2","Black","${kind === 'LEAF' ? `page${row}.html` : ''}","main","About ${text}"); //[+]${kind}[+]${text}[+]${parentRow}[+]False[+]False[+]False[+]True`);
    return row;
  };
  let top = 0;
  const big = item(`menuBase.menuItems[${top}]`, 'BRANCH', 'Big branch', 0);
  for (let i = 0; i < BIG; i++) item(`menuBase.menuItems[${top}].subMenu[${i}]`, 'LEAF', `Leaf ${i}`, big);
  for (let b = 0; b < BRANCHES; b++) {
    const p = `menuBase.menuItems[${++top}]`;
    const r = item(p, 'BRANCH', `Branch ${b}`, 0);
    for (let i = 0; i < PER_BRANCH; i++) item(`${p}.subMenu[${i}]`, 'LEAF', `Item ${b}.${i}`, r);
  }
  while (row < TOTAL) item(`menuBase.menuItems[${++top}]`, 'LEAF', `Extra ${row}`, 0);
  return { text: lines.map((l) => l + '\r\n').join(''), items: row };
}

async function folder(root, name, browserSwitch) {
  const dir = path.join(root, name);
  await mkdir(path.join(dir, 'treePics'), { recursive: true });
  await copyFile(path.join(dataDir, 'tree.html'), path.join(dir, 'tree.html'));
  await copyFile(path.join(dataDir, 'TreeLines', '2x2.gif'), path.join(dir, 'treePics', '2x2.gif'));
  for (const p of ['plus', 'minus', 'top', 'mid', 'btm', 'hline', 'vline']) {
    await copyFile(path.join(dataDir, 'TreeLines', 'Black', `${p}.gif`), path.join(dir, 'treePics', `${p}.gif`));
  }
  const js = customJs(browserSwitch);
  await writeFile(path.join(dir, 'custom.js'), js.text);
  return { url: pathToFileURL(path.join(dir, 'tree.html')).href, items: js.items, bytes: js.text.length };
}

const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const ms = (x) => `${x.toFixed(1)} ms`;

// Times from the page's own marks: when its drawing script starts (custom.js
// has run) and when the menu is in the document; then the next frame.
async function firstDraw(browser, url) {
  const page = await browser.newPage();
  await page.goto(url);
  const t = await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => setTimeout(() => {
    const mark = (n) => performance.getEntriesByName(n)[0].startTime;
    const paint = performance.getEntriesByName('first-contentful-paint')[0];
    resolve({ start: mark('vi-menu-start'), drawn: mark('vi-menu-drawn'), paint: paint ? paint.startTime : NaN,
      rows: document.querySelectorAll('[role=treeitem]').length });
  }, 0))));
  await page.close();
  return t;
}

// The page makes the copies that the browser's find searches in idle time
// during its first second; the timings of keys and clicks start after it.
const settle = (page) => page.waitForTimeout(1500);

async function expandBig(browser, url) {
  const page = await browser.newPage();
  await page.goto(url);
  await settle(page);
  const t = await page.evaluate(async () => {
    const sign = document.querySelector('[role=treeitem] .vi-own');
    const t0 = performance.now();
    sign.click();
    void document.body.offsetHeight; // layout included
    const t1 = performance.now();
    await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
    const t2 = performance.now();
    return { sync: t1 - t0, frame: t2 - t0 };
  });
  await page.close();
  return t;
}

// '*' on the first item opens all 64 top-level branches: the time until the
// next frame is painted, the rows in the document then, and the handler time
// of the keys that follow (the slowest of them).
async function openAll(browser, url) {
  const page = await browser.newPage();
  await page.goto(url);
  await settle(page);
  const t = await page.evaluate(async () => {
    const frame = () => new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
    const key = (k) => {
      const t0 = performance.now();
      document.activeElement.dispatchEvent(new KeyboardEvent('keydown', { key: k, bubbles: true, cancelable: true }));
      void document.body.offsetHeight; // the layout it forces
      return performance.now() - t0;
    };
    document.querySelector('[role=treeitem]').focus();
    await frame();
    const t0 = performance.now();
    const star = key('*');
    await frame();
    const paint = performance.now() - t0;
    const nodes = document.getElementsByTagName('*').length;
    const keys = {};
    for (const k of ['ArrowDown', 'ArrowDown', 'End', 'ArrowUp', 'Home', 'PageDown', 'ArrowRight', 'ArrowLeft']) {
      keys[k] = Math.max(keys[k] || 0, key(k));
      await frame();
    }
    return { star, paint, nodes, keys };
  });
  await page.close();
  return t;
}

// Frames per second while the page scrolls 150 px a frame through the menu
// with every branch open, for two seconds; and the longest frame.
async function scrollAll(browser, url) {
  const page = await browser.newPage({ viewport: { width: 800, height: 600 } });
  await page.goto(url);
  const t = await page.evaluate(async () => {
    document.querySelector('[role=treeitem]').focus();
    document.activeElement.dispatchEvent(new KeyboardEvent('keydown', { key: '*', bubbles: true, cancelable: true }));
    await new Promise((resolve) => setTimeout(resolve, 1000)); // let any deferred building finish
    const times = [];
    await new Promise((resolve) => {
      const start = performance.now();
      (function step(now) {
        times.push(now);
        window.scrollBy(0, 150);
        if (now - start < 2000) requestAnimationFrame(step); else resolve();
      })(start);
    });
    const gaps = times.slice(1).map((x, i) => x - times[i]);
    return { fps: 1000 * gaps.length / (times.at(-1) - times[0]), longest: Math.max(...gaps),
      height: document.documentElement.scrollHeight, nodes: document.getElementsByTagName('*').length };
  });
  await page.close();
  return t;
}

// Types into the search field key by key: each input event's handler with
// the layout it forces, and the longest input event the browser timed (its
// handler until the next paint).
const QUERY = 'item 62.5', KEYS = [...QUERY, 'Backspace', 'Backspace', 'Escape'];
async function searchKeys(browser, url) {
  const page = await browser.newPage();
  await page.goto(url);
  await settle(page);
  await page.evaluate(() => {
    window.slowest = 0;
    new window.PerformanceObserver((list) => {
      for (const e of list.getEntries()) if (/^key|^input/.test(e.name)) window.slowest = Math.max(window.slowest, e.duration);
    }).observe({ type: 'event', durationThreshold: 16, buffered: false });
    window.handled = [];
    const field = document.querySelector('input[type=search]');
    for (const type of ['input', 'keydown']) {
      field.addEventListener(type, () => { window.started = performance.now(); }, { capture: true });
      field.addEventListener(type, (e) => {
        if (type === 'keydown' && e.key !== 'Escape') return;
        void document.body.offsetHeight; // the layout it forces
        window.handled.push(performance.now() - window.started);
        window.said = document.querySelector('[role=status]').textContent || window.said;
      });
    }
  });
  await page.focus('input[type=search]');
  for (const key of KEYS) {
    await page.keyboard.press(key === ' ' ? 'Space' : key);
    await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0))));
  }
  await page.waitForTimeout(100);
  const t = await page.evaluate(() => ({ handled: window.handled, slowest: window.slowest, found: window.said }));
  await page.close();
  return t;
}

// Going to an item by the address's # part: the page opened with it (the
// drawing script's time, from its own marks), and a later change of it (the
// hashchange handler); by link and by place.
async function deepLinks(browser, url) {
  const page = await browser.newPage();
  const out = {};
  for (const [name, hash] of [['link', '#page32000.html'], ['place', '#63.502']]) {
    await page.goto('about:blank');
    await page.goto(`${url}${hash}`);
    out[`open by ${name}`] = await page.evaluate(() => performance.getEntriesByName('vi-menu-drawn')[0].startTime -
      performance.getEntriesByName('vi-menu-start')[0].startTime);
  }
  await page.goto(url);
  await settle(page);
  for (const [name, hash] of [['link', '#page1500.html'], ['place', '#40.400'], ['link', '#page32700.html']]) {
    out[`change to ${name} ${hash}`] = await page.evaluate((h) => new Promise((resolve) => {
      const t0 = performance.now();
      window.addEventListener('hashchange', () => {
        void document.body.offsetHeight;
        const handled = performance.now() - t0;
        requestAnimationFrame(() => setTimeout(() => resolve({ handled, frame: performance.now() - t0,
          focused: document.querySelector('[role=treeitem][tabindex="0"] [dir]').textContent }), 0));
      }, { once: true });
      location.hash = h;
    }), hash);
  }
  await page.close();
  return out;
}

const root = await mkdtemp(path.join(tmpdir(), 'vi-page-bench-'));
const browser = await chromium.launch({
  executablePath: process.env.VI_CHROMIUM || '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
try {
  const menu = await folder(root, 'default', false);
  console.log(`menu: ${menu.items} items, custom.js ${(menu.bytes / 1e6).toFixed(1)} MB, ${RUNS} runs, medians`);
  await firstDraw(browser, menu.url); // warm the disk cache
  const draws = [];
  for (let i = 0; i < RUNS; i++) draws.push(await firstDraw(browser, menu.url));
  console.log(`first draw (page script, after custom.js ran): ${ms(median(draws.map((d) => d.drawn - d.start)))}  [target < 50 ms]`);
  console.log(`  navigation start to menu drawn:             ${ms(median(draws.map((d) => d.drawn)))}`);
  console.log(`  navigation start to first paint:            ${ms(median(draws.map((d) => d.paint).filter(Number.isFinite)))}`);
  console.log(`  rows in the document: ${draws[0].rows}`);

  const opens = [];
  for (let i = 0; i < RUNS; i++) opens.push(await expandBig(browser, menu.url));
  console.log(`expand 1,000 children (handler + layout):     ${ms(median(opens.map((o) => o.sync)))}  [target < 50 ms]`);
  console.log(`  until the next frame:                       ${ms(median(opens.map((o) => o.frame)))}`);

  const stars = [];
  for (let i = 0; i < RUNS; i++) stars.push(await openAll(browser, menu.url));
  console.log(`'*' on the first item, to the next paint:     ${ms(median(stars.map((o) => o.paint)))}  [target < 100 ms]`);
  console.log(`  in its key handler:                         ${ms(median(stars.map((o) => o.star)))}`);
  console.log(`  elements in the document then:              ${stars[0].nodes}`);
  const keyNames = Object.keys(stars[0].keys);
  const slowest = median(stars.map((o) => Math.max(...Object.values(o.keys))));
  console.log(`slowest key handler after it (+ layout):      ${ms(slowest)}  [target < 16 ms]`);
  console.log(`  ${keyNames.map((k) => `${k} ${ms(median(stars.map((o) => o.keys[k])))}`).join(', ')}`);

  const scrolls = [];
  for (let i = 0; i < 3; i++) scrolls.push(await scrollAll(browser, menu.url));
  console.log(`scrolling with everything open:               ${median(scrolls.map((o) => o.fps)).toFixed(1)} frames/s  [target 60]`);
  console.log(`  longest frame: ${ms(median(scrolls.map((o) => o.longest)))}, page height ${scrolls[0].height} px, ` +
    `${scrolls[0].nodes} elements`);

  const searches = [];
  for (let i = 0; i < RUNS; i++) searches.push(await searchKeys(browser, menu.url));
  const perKey = KEYS.map((k, i) => median(searches.map((r) => r.handled[i])));
  console.log(`search, slowest key typed into the field:      ${ms(Math.max(...perKey))}  [target < 100 ms]`);
  console.log(`  ${KEYS.map((k, i) => `${k === ' ' ? 'Space' : k} ${ms(perKey[i])}`).join(', ')}`);
  console.log(`  longest input event timed by the browser (to the next paint): ` +
    `${ms(median(searches.map((r) => r.slowest)))} (0 when none over 16 ms); last said: ${searches[0].found}`);

  const links = [];
  for (let i = 0; i < RUNS; i++) links.push(await deepLinks(browser, menu.url));
  console.log('deep links (target < 200 ms):');
  for (const k of Object.keys(links[0])) {
    const v = links[0][k];
    if (typeof v === 'number') console.log(`  ${k.padEnd(40)} ${ms(median(links.map((l) => l[k])))} (whole first draw)`);
    else console.log(`  ${k.padEnd(40)} ${ms(median(links.map((l) => l[k].handled)))}, next frame ` +
      `${ms(median(links.map((l) => l[k].frame)))} -> ${v.focused}`);
  }

  const statik = await folder(root, 'static', true);
  const s = await firstDraw(browser, statik.url);
  console.log(`Static mode, every branch open (one run):     ${ms(s.drawn - s.start)} (${s.rows} rows)`);
} finally {
  await browser.close();
  await rm(root, { recursive: true, force: true });
}
