// How the menu is drawn for each line style, item height and mode: rows,
// connector cells and signs, fonts, links, tooltips and the page settings.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { GADGETS, makeFolder, sample, setUp, withPage } from './fixture.mjs';

let env;
before(async () => { env = await setUp(); });
after(() => env?.tearDown());

// Every visible row in order: its box, its cells (with their pictures) and where its content starts.
const visibleRows = (page) => page.$$eval('.vi-tree li', (lis) => lis.filter((li) => li.offsetParent).map((li) => {
  const row = li.firstElementChild, label = row.querySelector('.vi-label');
  const box = (el) => { const r = el.getBoundingClientRect(); return { left: r.left, top: r.top, height: r.height }; };
  return {
    text: label.textContent || label.querySelector('img').alt, level: Number(li.getAttribute('aria-level')),
    ...box(row), content: box(row.querySelector('.vi-bullet') || label).left,
    cells: [...row.querySelectorAll('.vi-cell')].map((c) => ({ ...box(c),
      pic: [...getComputedStyle(c).backgroundImage.matchAll(/treePics\/(\w+)\.gif/g)].map((m) => m[1]).join('+') })),
  };
}));

// [text, font size, colour, href, target, tooltip] of every label in order.
const LABELS = [
  ['Products', '13px', 'rgb(0, 0, 0)', null, null, ''],
  ['Widgets', '16px', 'rgb(0, 0, 128)', 'widgets.html', 'main', 'Our widgets'],
  [GADGETS, '10px', 'rgb(255, 0, 0)', null, null, ''],
  ['Deep & leaf', '13px', 'rgb(0, 0, 0)', 'deep.html', null, 'Deep "down"'],
  ['Picture', '16px', 'rgb(0, 0, 0)', 'picture.html', '_blank', 'A picture'],
  ['Services', '16px', 'rgb(0, 0, 0)', 'services.html', 'main', ''],
  ['Support', '16px', 'rgb(0, 0, 0)', 'support.html', 'main', 'Get help'],
  ['About', '18px', 'rgb(128, 0, 0)', 'about.html', 'main', ''],
];
const ORDER = LABELS.map((l) => l[0]);

// [TreeLines, item height, Static]
for (const [lines, height, isStatic = false] of [[1, 16], [1, 32], [2, 24], [0, 16], [1, 20, true], [0, 28, true]]) {
  const name = `style${lines}-${height}px${isStatic ? '-static' : ''}`;
  test(`TreeLines ${lines} at ${height} px${isStatic ? ', Static' : ''}`, async () => {
    await makeFolder(env.root, name, { lines, height, x: 12, y: 7, background: '#ffeecc', lineColor: 'Teal',
      pmColor: 'Red', browserSwitch: isStatic }, sample);
    await withPage(env.browser, env.url(`${name}/tree.html`), async (page) => {
      const shown = (await visibleRows(page)).map((r) => r.text);
      assert.deepEqual(shown, isStatic ? ORDER : ['Products', 'Services', 'About']);
      if (isStatic) { // bullet, text and Left close nothing
        await page.locator('.vi-bullet').first().click();
        await page.getByRole('tree').getByText(GADGETS, { exact: true }).click();
        await page.locator('[role=treeitem]').first().focus();
        await page.keyboard.press('ArrowLeft');
      } else { // '*' on the top level, then on the level of Gadgets
        for (const key of ['Tab', 'Tab', '*', 'ArrowDown', '*', 'Home']) await page.keyboard.press(key);
      }
      const states = await page.$$eval('[aria-expanded]', (l) => l.map((e) => e.ariaExpanded));
      assert.deepEqual(states, ['true', 'true', 'true']);

      // Rows of the item height stacked from y, taller only where the text is (18 px About in 16 px
      // rows); one 16-pixel cell per level from x, content after them.
      const rows = await visibleRows(page);
      assert.deepEqual(rows.map((r) => r.text), ORDER);
      // The search field at the menu's place, the tree right below it.
      const field = await page.getByRole('searchbox', { name: 'Search the menu' }).boundingBox();
      const box = await page.getByRole('search').boundingBox();
      assert.deepEqual([box.x, box.y], [12, 7]);
      assert.ok(field.height >= 24 && field.x === 12, 'a field of at least 24 px at the menu\'s x');
      let top = box.y + box.height;
      for (const [i, r] of rows.entries()) {
        const tall = Math.max(height, parseInt(LABELS[i][1], 10));
        assert.deepEqual([r.top, r.height], [top, tall], `${r.text} row`);
        top += tall;
        assert.deepEqual(r.cells.map((c) => [c.left, c.height]),
          Array.from({ length: lines ? r.level : 0 }, (_, j) => [12 + 16 * j, tall]), `${r.text} cells`);
        assert.equal(r.content, 12 + 16 * (r.level - (lines ? 0 : 1)), `${r.text} indent`);
      }
      const labels = await page.$$eval('.vi-label', (ls) => ls.map((l) => [l.textContent || l.firstChild.alt,
        getComputedStyle(l).fontSize, getComputedStyle(l).color, l.getAttribute('href'), l.getAttribute('target'),
        l.title]));
      assert.deepEqual(labels, LABELS, 'item text is HTML: "<b>Deep</b> &amp; leaf" shows as "Deep & leaf"');
      assert.equal(await page.evaluate(() => getComputedStyle(document.body).backgroundColor), 'rgb(255, 238, 204)');
      if (lines === 1) {
        assert.deepEqual(rows.map((r) => r.cells.at(-1).pic),
          ['minus+top+vline', 'mid+vline', 'minus+mid+vline', 'btm', 'btm', 'minus+mid+vline', 'btm', 'btm']);
        assert.deepEqual([...rows[3].cells.slice(0, 2), rows[6].cells[0]].map((c) => c.pic), Array(3).fill('vline'));
      } else if (lines === 2) {
        assert.deepEqual(rows.map((r) => r.cells.at(-1).pic).filter((p) => p !== '2x2'), Array(3).fill('minus+2x2'));
      }
    }, { viewport: { width: 320, height: 300 } });
  });
}
