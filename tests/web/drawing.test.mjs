// How the menu is drawn: rows, connector lines and signs for each line style
// and item height, Static mode, and the page-wide settings.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { mkdir } from 'node:fs/promises';
import path from 'node:path';
import { artifactDir, cleanup, launch, makeFolder, open, serve, tempRoot } from './fixture.mjs';
import { GADGETS_TEXT, sample } from './menus.mjs';
import { decodePng } from './png.mjs';

let browser, root, server;
before(async () => {
  [browser, root] = await Promise.all([launch(), tempRoot()]);
  server = await serve(root);
  await mkdir(artifactDir, { recursive: true });
});
after(async () => {
  await browser?.close();
  await server?.close();
  await cleanup(root);
});

// Every visible row in order, with its cells and label positions.
const visibleRows = (page) => page.$$eval('.vi-tree li', (lis) => lis
  .filter((li) => li.offsetParent !== null)
  .map((li) => {
    const row = li.firstElementChild;
    const box = (el) => { const r = el.getBoundingClientRect(); return { left: r.left, top: r.top, width: r.width, height: r.height }; };
    const label = row.querySelector('.vi-label');
    return {
      text: label.textContent || label.querySelector('img')?.alt,
      level: Number(li.getAttribute('aria-level')),
      branch: li.hasAttribute('aria-expanded'),
      ...box(row),
      cells: [...row.querySelectorAll('.vi-cell')].map((c) => ({ ...box(c), bg: getComputedStyle(c).backgroundImage })),
      content: box(row.querySelector('.vi-bullet') || label).left,
    };
  }));

// Opens every branch of the sample menu with the keyboard: '*' on the top
// level, then '*' on the level of Gadgets.
async function expandAll(page) {
  await page.keyboard.press('Tab');
  await page.keyboard.press('*');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('*');
  await page.keyboard.press('Home');
}

const ink = ([r, g, b]) => r + g + b < 600;
const picture = (bg) => [...bg.matchAll(/treePics\/(\w+)\.gif/g)].map((m) => m[1]).join('+');

async function shoot(page, rows, name) {
  const png = await page.screenshot({ path: path.join(artifactDir, `${name}.png`) });
  return decodePng(png);
}

// Checks that every pixel of column x from y0 to y1 is (or is not) drawn.
function column(img, x, y0, y1, drawn, what) {
  for (let y = Math.round(y0); y <= Math.round(y1); y++) {
    assert.equal(ink(img.rgb(Math.round(x), y)), drawn, `${what}: pixel ${x},${y}`);
  }
}

const ORDER = ['Products', 'Widgets', GADGETS_TEXT, 'Deep & leaf', 'Picture', 'Services', 'Support', 'About'];

describe('line styles and item heights', () => {
  for (const [lines, heights] of [[1, [16, 20, 24, 28, 32]], [2, [16, 32]], [0, [16, 32]]]) {
    for (const height of heights) {
      test(`TreeLines ${lines} at ${height} px`, async () => {
        const dir = await makeFolder(root, `style${lines}-${height}`, { lines, height, x: 12, y: 7 }, sample);
        const context = await browser.newContext({ viewport: { width: 320, height: 300 } });
        const page = await open(context, server.url(`${path.basename(dir)}/tree.html`));
        await expandAll(page);
        const rows = await visibleRows(page);
        assert.deepEqual(rows.map((r) => r.text), ORDER);

        // Rows of exactly the item height, stacked without gaps, at x, y.
        assert.equal(rows[0].top, 7);
        rows.forEach((r, i) => {
          assert.equal(r.height, height, `${r.text} height`);
          if (i) assert.equal(r.top, rows[i - 1].top + height, `${r.text} follows the row above`);
        });
        const tree = await page.locator('[role=tree]').boundingBox();
        assert.equal(tree.x, 12);

        // One 16-pixel cell per level, the content starting after them.
        for (const r of rows) {
          assert.equal(r.cells.length, lines ? r.level : 0, `${r.text} cells`);
          r.cells.forEach((c, i) => {
            assert.equal(c.left, 12 + 16 * i);
            assert.equal(c.height, height);
          });
          assert.equal(r.content, 12 + 16 * (r.level - (lines ? 0 : 1)), `${r.text} indent`);
        }

        const img = await shoot(page, rows, `tree-style${lines}-${height}px`);
        const mid = (r) => r.top + height / 2;
        const x0 = 12 + 7;
        if (lines === 1) {
          const own = rows.map((r) => picture(r.cells.at(-1).bg));
          assert.deepEqual(own, ['minus+top', 'mid', 'minus+mid', 'btm', 'btm', 'minus+mid', 'btm', 'btm']);
          const deepRails = rows[3].cells.slice(0, 2).map((c) => picture(c.bg));
          assert.deepEqual(deepRails, ['vline', 'vline'], 'rails beside Deep');
          assert.equal(picture(rows[6].cells[0].bg), 'vline', 'rail beside Support');
          // The top-level line runs unbroken from Products to About, passing the
          // signs of Products' and Services' boxes.
          const signs = rows.filter((r) => r.level === 1 && r.branch).map(mid);
          for (let y = mid(rows[0]) + 5; y <= mid(rows[7]); y++) {
            if (signs.some((s) => Math.abs(y - s) <= 4)) continue;
            column(img, x0, y, y, true, 'top-level line');
          }
          column(img, x0 + 16, mid(rows[2]) + 5, mid(rows[4]), true, 'second-level line');
          column(img, x0, rows[0].top, mid(rows[0]) - 5, false, 'nothing above the first item');
          column(img, x0, mid(rows[7]) + 1, rows[7].top + height - 1, false, 'nothing below the last item');
          // Horizontal arms meet the content on the row's middle.
          assert.ok(ink(img.rgb(12 + 16 + 15, mid(rows[1]))), 'arm of Widgets');
          assert.ok(!ink(img.rgb(12 + 16 + 15, mid(rows[1]) - 1)), 'arm is one pixel');
        } else if (lines === 2) {
          const own = rows.map((r) => picture(r.cells.at(-1).bg));
          assert.deepEqual(own.filter((p) => p !== '2x2'), ['minus+2x2', 'minus+2x2', 'minus+2x2']);
          column(img, x0, rows[0].top + height - 2, rows[1].top + 1, false, 'no line between rows');
          column(img, x0 - 4, mid(rows[0]) - 4, mid(rows[0]) + 4, true, 'sign box');
        }
        assert.deepEqual(page.errors, []);
        await context.close();
      });
    }
  }

  test('line and sign colours come from their colour folders', async () => {
    const dir = await makeFolder(root, 'colours', { lines: 1, height: 24, x: 0, y: 0, lineColor: 'Teal', pmColor: 'Red' }, sample);
    const context = await browser.newContext({ viewport: { width: 200, height: 200 } });
    const page = await open(context, server.url(`${path.basename(dir)}/tree.html`));
    const img = decodePng(await page.screenshot());
    assert.deepEqual(img.rgb(7, 24 + 2), [0, 128, 128], 'Teal line above the sign of Services');
    assert.deepEqual(img.rgb(3, 12), [255, 0, 0], 'Red box of Products');
    assert.deepEqual(img.rgb(5, 12), [255, 0, 0], 'Red plus stroke');
    assert.deepEqual(img.rgb(4, 10), [255, 255, 255], 'box inside is filled');
    await context.close();
  });
});

describe('Static mode and page settings', () => {
  test('Static draws every branch open and keeps it so; links still work', async () => {
    const dir = await makeFolder(root, 'static', { lines: 1, height: 20, browserSwitch: true }, sample);
    const context = await browser.newContext({ viewport: { width: 320, height: 300 } });
    const page = await open(context, server.url(`${path.basename(dir)}/tree.html`));
    const rows = await visibleRows(page);
    assert.deepEqual(rows.map((r) => r.text), ORDER);
    await page.screenshot({ path: path.join(artifactDir, 'tree-static.png') });
    await page.locator('li[aria-level="1"]').first().locator(':scope > .vi-row > .vi-own').click();
    await page.getByText(GADGETS_TEXT, { exact: true }).click();
    await page.focus('li[aria-level="1"] >> nth=0');
    await page.keyboard.press('ArrowLeft');
    assert.deepEqual(await page.$$eval('[aria-expanded]', (l) => l.map((e) => e.getAttribute('aria-expanded'))),
      ['true', 'true', 'true']);
    assert.equal(await page.getAttribute('a:has-text("Support")', 'href'), 'support.html');
    assert.deepEqual(page.errors, []);
    await context.close();
  });

  test('background, position, fonts, HTML text, escapes, tooltips and targets', async () => {
    const dir = await makeFolder(root, 'settings', { lines: 1, height: 24, x: 30, y: 40, background: '#ffeecc' }, sample,
      { 'empty.html': '<!DOCTYPE html><title>Empty</title>' });
    const context = await browser.newContext();
    const page = await open(context, server.url(`${path.basename(dir)}/tree.html`));
    await expandAll(page);
    const bg = await page.evaluate(() => getComputedStyle(document.body).backgroundColor);
    assert.equal(bg, 'rgb(255, 238, 204)');
    const box = await page.locator('[role=tree]').boundingBox();
    assert.deepEqual([box.x, box.y], [30, 40]);

    const labels = await page.$$eval('.vi-label', (ls) => ls.map((l) => {
      const s = getComputedStyle(l);
      return { text: l.textContent, html: l.innerHTML, size: s.fontSize, color: s.color,
        title: l.title, href: l.getAttribute('href'), target: l.getAttribute('target') };
    }));
    const by = Object.fromEntries(labels.map((l) => [l.text, l]));
    assert.deepEqual([by.Products.size, by.Products.color], ['13px', 'rgb(0, 0, 0)']);
    assert.deepEqual([by.Widgets.size, by.Widgets.color], ['16px', 'rgb(0, 0, 128)']);
    assert.deepEqual([by[GADGETS_TEXT].size, by[GADGETS_TEXT].color], ['10px', 'rgb(255, 0, 0)']);
    assert.equal(by['Deep & leaf'].size, '13px');
    assert.deepEqual([by.About.size, by.About.color], ['18px', 'rgb(128, 0, 0)']);
    assert.equal(by['Deep & leaf'].html, '<b>Deep</b> &amp; leaf');
    assert.deepEqual([by.Widgets.href, by.Widgets.target, by.Widgets.title], ['widgets.html', 'main', 'Our widgets']);
    assert.deepEqual([by['Deep & leaf'].target, by['Deep & leaf'].title], [null, 'Deep "down"']);
    assert.equal(by.Products.href, null);
    const picture = await page.$eval('.vi-label:has(img[alt="Picture"])', (a) => [a.target, a.title]);
    assert.deepEqual(picture, ['_blank', 'A picture']);

    // The only globals are the constructors and custom.js's own variables.
    const blank = await context.newPage();
    await blank.goto(server.url('settings/empty.html'));
    const native = new Set(await blank.evaluate(() => Object.keys(window)));
    const added = (await page.evaluate(() => Object.keys(window))).filter((k) => !native.has(k));
    assert.deepEqual(added.sort(), ['BackGroundColor', 'BrowserSwitch', 'menuBase', 'menuItemObject',
      'menuObject', 'pmPercent', 'trans2x2']);
    assert.deepEqual(page.errors, []);
    await context.close();
  });
});
