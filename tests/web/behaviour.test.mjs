// What the menu does: opening and closing, mouse-over pictures, the ARIA tree
// pattern and its keyboard table, links into frames, the current page, state
// kept across reloads, and long branches.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { GADGETS, makeFolder, sample, setUp, site, statement, withPage } from './fixture.mjs';

let env;
before(async () => {
  env = await setUp();
  await makeFolder(env.root, 'site', {}, sample, site());
  await makeFolder(env.root, 'at-support', {}, sample, site('support.html'));
  await makeFolder(env.root, 'self', {}, [statement('menuItems[0]', 'Elsewhere', 'other.html'),
    statement('menuItems[1]', 'Home', '', 'BRANCH'),
    statement('menuItems[1].subMenu[0]', 'This page', './tree.html#top')]);
  await makeFolder(env.root, 'big', {}, Array.from({ length: 40 }, (_, b) => [
    statement(`menuItems[${b}]`, `Branch ${b}`, '', 'BRANCH'),
    ...Array.from({ length: 50 }, (_, i) => statement(`menuItems[${b}].subMenu[${i}]`, `Leaf ${b}.${i}`))]).flat());
  // Picture files whose names hold characters that mean something in a URL.
  const svg = '<svg xmlns="http://www.w3.org/2000/svg" width="12" height="12"><rect width="12" height="12"/></svg>';
  const pictured = (row, bullet, out) => `menuBase.menuItems[${row}]= new menuItemObject("treePics/${bullet}",` +
    `"","${out ? `treePics/${out}` : ''}","","Odd ${row}","","","","",""); //[+]LEAF[+]Odd[+]0[+]False[+]False[+]False[+]False`;
  await makeFolder(env.root, 'odd-names', {}, [pictured(0, 'a#1.svg', '50%.svg'), pictured(1, 'why?.svg')],
  Object.fromEntries(['a#1', '50%', 'why?'].map((n) => [`treePics/${n}.svg`, svg])));
  await makeFolder(env.root, 'long', { height: 16 }, [statement('menuItems[0]', 'Long', '', 'BRANCH'),
    ...Array.from({ length: 250 }, (_, i) => statement(`menuItems[0].subMenu[${i}]`, `Leaf ${i}`)),
    statement('menuItems[1]', 'After')]);
});
after(() => env?.tearDown());

const item = (scope, name) => scope.getByRole('treeitem', { name, exact: true });
const own = (li) => li.locator(':scope > .vi-row > .vi-own');
const expanded = (li) => li.getAttribute('aria-expanded');
const focusedName = (scope) => scope.evaluate(() => {
  const li = document.activeElement, label = li.querySelector('.vi-label');
  return li.matches('[role=treeitem]') ? label.textContent || label.firstChild.alt : null;
});

const at = (url, fn, options) => withPage(env.browser, url, fn, options);

test('branches open and close on sign, bullet, text and touch, drawn on first opening; mouse-over pictures', () =>
  at(env.url('site/tree.html'), async (page) => {
    const products = item(page, 'Products'), bullet = products.locator(':scope > .vi-row > .vi-bullet');
    assert.equal(await page.locator('[role=treeitem]').count(), 3);
    const text = page.getByRole('tree').getByText('Products', { exact: true }), pic = page.locator('img[alt="Picture"]');
    // [action, Products' aria-expanded, its bullet]
    for (const [act, open, shown] of [[() => own(products).click(), true, 'open'],
      [() => bullet.click(), false, 'folder'], [() => text.tap(), true, 'open']]) {
      await act();
      assert.equal(await expanded(products), String(open));
      assert.match(await bullet.getAttribute('src'), new RegExp(`${shown}\\.svg$`));
      assert.equal(await item(page, 'Widgets').isVisible(), open);
    }
    assert.equal(await page.locator('[role=treeitem]').count(), 6);
    // [action, mouse-out or mouse-over picture shown afterwards]
    for (const [act, shown] of [[() => pic.hover(), 'over'], [() => page.mouse.move(300, 300), 'out'],
      [() => item(page, 'Picture').focus(), 'over'], [() => page.keyboard.press('ArrowDown'), 'out']]) {
      await act();
      assert.match(await pic.getAttribute('src'), new RegExp(`${shown}\\.svg$`));
    }
    await item(page, 'Widgets').click();
    await own(products).click();
    assert.equal(await focusedName(page), 'Products', 'focus leaves a closing branch for the branch');
    assert.equal(await products.getAttribute('tabindex'), '0');
  }, { hasTouch: true }));

test('keyboard table, and the ARIA tree it leaves', () =>
  at(env.url('site/tree.html'), async (page) => {
    for (const key of ['Tab', 'Tab']) await page.keyboard.press(key);
    // [keys, focused item afterwards, [branch, aria-expanded] to check, why]
    const steps = [
      ['', 'Products', null, 'Tab enters at the first item, after the search field'],
      ['ArrowRight', 'Products', ['Products', 'true'], 'Right opens a closed branch'],
      ['ArrowRight', 'Widgets', null, 'Right enters an open branch'],
      ['ArrowDown ArrowRight ArrowDown', 'Deep & leaf', [GADGETS, 'true'], 'Down and Right'],
      ['ArrowLeft', GADGETS, null, 'Left goes to the parent'],
      ['ArrowLeft', GADGETS, [GADGETS, 'false'], 'Left closes an open branch'],
      ['End', 'About', null, 'End goes to the last visible item'],
      ['ArrowUp', 'Services', null, 'Up skips the closed branch'],
      ['Home ArrowUp', 'Products', null, 'Home, and nothing above the first item'],
      ['*', 'Products', ['Services', 'true'], '* opens the siblings'],
      ['s', 'Services', null, 'type-ahead'],
      // Keys of one search go back to back, so a slow assertion cannot outlast the search window.
      ['pause s e', 'Services', null, 'type-ahead extends the search'],
      ['pause A', 'About', null, 'type-ahead ignores case'],
      ['pause P', 'Products', null, 'type-ahead wraps around'],
      ['ArrowDown ArrowDown Enter', GADGETS, [GADGETS, 'true'], 'Enter opens a branch'],
      ['Space', GADGETS, [GADGETS, 'false'], 'Space closes it'],
    ];
    for (const [keys, focused, check, why] of steps) {
      for (const key of keys.split(' ').filter(Boolean)) {
        if (key === 'pause') await page.waitForTimeout(700);
        else await page.keyboard.press(key === 'Space' ? ' ' : key);
      }
      assert.equal(await focusedName(page), focused, why);
      if (check) assert.equal(await expanded(item(page, check[0])), check[1], why);
    }
    // One tab stop, on the focused item (the rows' level, place and set size: the big tree below).
    const tabStops = await page.$$eval('[role=treeitem]', (lis) => lis.map((li) => li.tabIndex));
    assert.deepEqual(tabStops, [-1, -1, 0, -1, -1, -1, -1]);
    await page.keyboard.press('Tab');
    assert.equal(await focusedName(page), null, 'Tab leaves the tree');
  }));

test('links open in their frame and mark the item followed, kept across a reload', () =>
  at(env.url('site/index.html'), async (page) => {
    const frame = (name) => page.frame({ name });
    await frame('menu').waitForSelector('[role=tree]');
    await frame('menu').getByRole('tree').getByText('Products', { exact: true }).click();
    await frame('menu').getByRole('tree').getByText('Widgets', { exact: true }).click();
    await frame('main').waitForURL(/widgets\.html$/);
    assert.equal(await item(frame('menu'), 'Widgets').getAttribute('aria-current'), 'page');
    // Enter on a branch with a link opens it and follows the link.
    await item(frame('menu'), 'Services').focus();
    await page.keyboard.press('Enter');
    await frame('main').waitForURL(/services\.html$/);
    assert.equal(await expanded(item(frame('menu'), 'Services')), 'true');
    for (const key of ['ArrowDown', 'Enter']) await page.keyboard.press(key);
    await frame('main').waitForURL(/support\.html$/);
    assert.equal(await frame('menu').locator('[aria-current]').count(), 1);

    await page.reload();
    await frame('menu').waitForSelector('[role=tree]');
    const support = item(frame('menu'), 'Support');
    assert.deepEqual([await support.getAttribute('aria-current'), await support.getAttribute('tabindex')],
      ['page', '0']);
    assert.equal(await expanded(item(frame('menu'), 'Products')), 'true', 'opened branches stay open');
  }, { menu: false }));

test('the item showing in its frame, or linking to this page, is marked and revealed on load', async () => {
  await at(env.url('at-support/index.html'), async (page) => {
    const menu = page.frame({ name: 'menu' });
    await menu.waitForSelector('[aria-current=page]', { state: 'attached' });
    assert.equal(await item(menu, 'Support').getAttribute('aria-current'), 'page');
    assert.equal(await expanded(item(menu, 'Services')), 'true');
  }, { menu: false });
  await at(env.url('self/tree.html'), async (page) => {
    const self = item(page, 'This page');
    assert.deepEqual([await self.getAttribute('aria-current'), await self.getAttribute('tabindex')], ['page', '0']);
    assert.ok(await self.isVisible());
    assert.equal(await page.locator('[aria-current]').count(), 1);
    assert.equal(await self.locator('.vi-rail').count(), 0, 'no line continues past the last top-level item');
  });
});

for (const [scheme, url] of [['http', () => env.url('site/tree.html')],
  ['file', () => env.fileUrl('site/tree.html')]]) {
  test(`open branches are remembered per tab over ${scheme}`, () =>
    at(url(), async (page, context) => {
      await own(item(page, 'Products')).click();
      await own(item(page, GADGETS)).click();
      await own(item(page, 'Products')).click();
      await page.reload();
      await page.waitForSelector('[role=tree]');
      assert.equal(await page.locator('[role=treeitem]').count(), 3, 'Products stays closed');
      await own(item(page, 'Products')).click();
      assert.ok(await item(page, 'Deep & leaf').isVisible(), 'inner branch reopens with its parent');
      const other = await context.newPage();
      await other.goto(url());
      await other.waitForSelector('[role=tree]', { state: 'attached' });
      assert.equal(await other.locator('[aria-expanded=true]').count(), 0, 'another tab starts closed');
    }));

  test(`pictures named with #, % or ? show over ${scheme}`, () =>
    at(url().replace('site/', 'odd-names/'), async (page) => {
      await page.waitForFunction(() => [...document.images].every((i) => i.complete));
      assert.deepEqual(await page.$$eval('img', (l) => l.map((i) => i.naturalWidth)), [12, 12, 12]);
    }));
}

test('a long branch opens with all its rows, reachable by keyboard at once', () =>
  at(env.url('long/tree.html'), async (page) => {
    // The keys come in one task, before the rows after the first hundred are built in later slices.
    await page.evaluate(() => {
      document.querySelector('[role=treeitem]').focus();
      for (const key of ['ArrowRight', 'End', 'ArrowUp', 'ArrowUp']) {
        document.activeElement.dispatchEvent(new KeyboardEvent('keydown', { key, bubbles: true }));
      }
    });
    assert.equal(await focusedName(page), 'Leaf 248');
    const tops = await page.$$eval('[role=treeitem] > .vi-row',
      (rows) => rows.map((r) => r.getBoundingClientRect().top));
    assert.deepEqual(tops.map((t) => t - tops[0]), Array.from({ length: 252 }, (_, i) => 16 * i));
  }));

test('a big tree keeps only the rows near the viewport in the document, each at its place with its ARIA', () =>
  at(env.url('big/tree.html'), async (page) => {
    // The tree starts below the search field.
    const start = await page.$eval('[role=tree]', (t) => t.offsetTop);
    assert.ok(start >= 5 + 24, 'the search field above the tree');
    // Rendered rows: [name, level, posinset, setsize, document top] against their place among 40 x 51 rows.
    const check = async (why, firstClosed = false) => {
      const rows = await page.$$eval('[role=treeitem]', (lis) => lis.map((li) => [li.textContent,
        ...['level', 'posinset', 'setsize'].map((a) => Number(li.getAttribute(`aria-${a}`))),
        li.getBoundingClientRect().top + window.scrollY]));
      assert.ok(rows.length >= 30 && rows.length <= 100, `${why}: ${rows.length} rows in the document`);
      for (const [name, level, pos, size, top] of rows) {
        const [, b, i] = name.match(/^\w+ (\d+)(?:\.(\d+))?$/).map(Number);
        const leaf = name.startsWith('Leaf');
        assert.deepEqual([level, pos, size], leaf ? [2, i + 1, 50] : [1, b + 1, 40], `${why}: ${name}`);
        const row = b * 51 + (leaf ? i + 1 : 0) - (firstClosed && b > 0 ? 50 : 0);
        assert.equal(top, start + 20 * row, `${why}: ${name} top`);
      }
      return rows;
    };
    for (const key of ['Tab', 'Tab', '*']) await page.keyboard.press(key);
    assert.equal(await page.evaluate(() => document.documentElement.scrollHeight), start + 20 * 40 * 51);
    await check('after *');
    await page.keyboard.press('End');
    assert.equal(await focusedName(page), 'Leaf 39.49');
    await check('at the end');
    await page.evaluate(() => window.scrollTo(0, 0));
    await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0))));
    assert.equal(await focusedName(page), 'Leaf 39.49', 'the focused row stays in the document');
    assert.ok((await check('scrolled to the top')).some(([name]) => name === 'Branch 0'));
    for (const [key, name] of [['ArrowUp', 'Leaf 39.48'], ['Home', 'Branch 0'], ['ArrowDown', 'Leaf 0.0'],
      ['ArrowLeft', 'Branch 0'], ['ArrowLeft', 'Branch 0'], ['ArrowDown', 'Branch 1'], ['b', 'Branch 2']]) {
      await page.keyboard.press(key);
      assert.equal(await focusedName(page), name, key);
    }
    await check('after closing a branch', true);
  }, { viewport: { width: 800, height: 600 } }));
