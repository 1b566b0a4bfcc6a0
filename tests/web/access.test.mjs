// Accessibility of the menu page: axe-core's WCAG 2.2 A/AA rules on several
// exports (dark scheme and forced colours among them), names of items without
// text, type-ahead with blanks, and pages without a menu.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { readFile, rm } from 'node:fs/promises';
import { createRequire } from 'node:module';
import path from 'node:path';
import { makeFolder, sample, setUp, statement, withPage } from './fixture.mjs';

const axeSource = await readFile(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

// Items without text, right-to-left text, blanks for type-ahead, a line break.
const named = [
  statement('menuItems[0]', 'About us', 'us.html'),
  statement('menuItems[1]', 'About them', 'them.html'),
  statement('menuItems[2]', '', 'nameless.html'),
  String.raw`menuBase.menuItems[3]= new menuItemObject("","","","","","","","","","Described"); //[+]LEAF[+]x[+]0[+]False[+]False[+]False[+]False`,
  statement('menuItems[4]', '', '', 'BRANCH'),
  statement('menuItems[4].subMenu[0]', 'Two<br>lines'),
  statement('menuItems[4].subMenu[1]', 'שלום עולם'),
  statement('menuItems[5]', 'Last'),
];

// The sample in colours that reach 4.5:1 on white, and on navy (the author's choice, which the page keeps).
const recolour = (map) => sample.map((s) => s.replace(/"(Black|Navy|Red|Maroon)"/g, (m, c) => `"${map[c] || c}"`));
const onWhite = recolour({ Red: 'Maroon' }), onNavy = recolour({ Black: 'White', Navy: 'Yellow', Red: 'Aqua', Maroon: 'Lime' });

let env;
before(async () => {
  env = await setUp();
  for (const [name, settings, items, extra] of [['d16', { height: 16 }, onWhite], ['d20', {}, onWhite],
    ['s24-signs', { browserSwitch: true, height: 24, lines: 2 }, onWhite],
    ['navy', { background: 'Navy', lineColor: 'Silver', pmColor: 'Yellow' }, onNavy], ['named', {}, named],
    ['missing', {}, sample],
    ['broken', {}, sample, { 'custom.js': 'var menuBase = new menuObject(5,5,20,true,' }],
    ['half', {}, [...sample.slice(0, 2), statement('menuItems[7].subMenu[0]', 'Orphan')]]]) {
    await makeFolder(env.root, name, settings, items, extra);
  }
  await rm(path.join(env.root, 'missing', 'custom.js'));
});
after(() => env?.tearDown());

const at = (folder, fn, options) => withPage(env.browser, env.url(`${folder}/tree.html`), fn, options);

// [folder, item height, context options, search text]
for (const [folder, height, options = {}, typed = ''] of [['d16', 16], ['s24-signs', 24], ['navy', 20], ['named', 20],
  ['d20', 20, { colorScheme: 'dark' }], ['named', 20, { forcedColors: 'active' }], ['d20', 20, {}, 'e'],
  ['navy', 20, { viewport: { width: 320, height: 480 }, hasTouch: true, isMobile: true }, 'wid']]) {
  test(`axe-core finds no WCAG 2.2 A/AA violation: ${folder} ${JSON.stringify(options)} ${typed}`, () =>
    at(folder, async (page) => {
      // Everything open, the focus ring shown; or a search's matches, the first focused with its description.
      if (typed) {
        await page.getByRole('searchbox').fill(typed);
        await page.getByRole('searchbox').press('ArrowDown');
        assert.ok(await page.getByRole('mark').count() > 0);
      } else {
        for (const key of ['Tab', 'Tab']) await page.keyboard.press(key);
      }
      for (let i = 0; i < 3 && !typed; i++) {
        await page.evaluate(() => document.querySelectorAll('[aria-expanded=false]').forEach((li) =>
          li.dispatchEvent(new KeyboardEvent('keydown', { key: 'ArrowRight', bubbles: true }))));
      }
      await page.addScriptTag({ content: axeSource });
      const result = await page.evaluate((small) => window.axe.run(document, {
        runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa'] },
        rules: { 'target-size': { enabled: !small } },
      }), height < 24);
      assert.deepEqual(result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(' ')}`), []);
      assert.ok(result.passes.length > 10);
      assert.equal(await page.getAttribute('html', 'lang'), 'en');
    }, options));
}

test('items without text are named by description, address or place; Space belongs to a running type-ahead', () =>
  at('named', async (page) => {
    const branch = page.getByRole('treeitem', { name: 'Item 5 of 6' });
    await branch.focus();
    await page.keyboard.press('ArrowRight');
    for (const name of ['nameless.html', 'Described', 'Item 5 of 6', 'שלום עולם', 'Two lines']) {
      assert.equal(await page.getByRole('treeitem', { name, exact: true }).count(), 1, name);
    }
    assert.equal(await page.getByRole('link', { name: 'nameless.html' }).count(), 1, 'the link is named too');
    assert.deepEqual(await page.$$eval('.vi-label', (ls) => [...new Set(ls.map((l) => l.dir))]), ['auto']);
    assert.ok((await page.locator('.vi-label').nth(3).boundingBox()).width > 0, 'a blank item has a label to click');
    await page.getByRole('treeitem', { name: 'About them' }).focus();
    await page.keyboard.press('ArrowDown');
    assert.equal(await page.evaluate(() => document.activeElement.getAttribute('aria-label')), 'nameless.html');

    await branch.press('ArrowLeft');
    await page.waitForTimeout(700);
    await page.keyboard.type('about t');
    assert.equal(await page.evaluate(() => document.activeElement.textContent), 'About them', 'a blank in a search');
    await branch.focus();
    await page.waitForTimeout(700);
    await page.keyboard.press(' ');
    assert.equal(await branch.getAttribute('aria-expanded'), 'true', 'Space outside a search opens the branch');
    for (const key of ['l', 'ArrowUp', ' ']) await page.keyboard.press(key);
    assert.equal(await branch.getAttribute('aria-expanded'), 'true',
      'an arrow key ends the search, and Space on a leaf leaves the branch as it is');
  }));

// [what, folder, context options, note shown]
for (const [what, folder, options, note] of [['scripting off', 'd20', { javaScriptEnabled: false }, /needs JavaScript/],
  ['custom.js missing', 'missing', {}, /could not be shown/], ['custom.js broken', 'broken', {}, /could not be shown/],
  ['custom.js failing half-way', 'half', {}, /could not be shown/], ['a sound custom.js', 'd20', {}, null]]) {
  test(`a page without its menu says so: ${what}`, () =>
    at(folder, async (page) => {
      await page.waitForLoadState('load');
      const shown = await page.locator('.vi-note').evaluateAll((ns) => ns.filter((n) => n.offsetParent)
        .map((n) => n.textContent));
      assert.equal(shown.length, note ? 1 : 0);
      if (note) assert.match(shown[0], note);
      if (folder === 'half') assert.equal(await page.getByRole('treeitem').count(), 1, 'what ran is drawn');
    }, { ...options, menu: false, scriptErrors: true }));
}
