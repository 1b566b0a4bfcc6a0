// What the menu does: opening and closing, the ARIA tree pattern and its
// keyboard table, links into frames, the current page, state kept across
// reloads, mouse-over pictures and touch.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { cleanup, fileUrl, launch, makeFolder, open, serve, tempRoot } from './fixture.mjs';
import { GADGETS_TEXT, frameset, pages, sample } from './menus.mjs';

let browser, root, server, context;
before(async () => {
  [browser, root] = await Promise.all([launch(), tempRoot()]);
  server = await serve(root);
  await makeFolder(root, 'site', { lines: 1, height: 20 }, sample,
    { ...pages, 'index.html': frameset(), 'at-support.html': frameset('support.html') });
  await makeFolder(root, 'self', { lines: 1, height: 20 }, [
    String.raw`menuBase.menuItems[0]= new menuItemObject("","","","","Elsewhere","","","other.html","",""); //[+]LEAF[+]Elsewhere[+]0[+]False[+]False[+]False[+]False`,
    String.raw`menuBase.menuItems[1]= new menuItemObject("","","","","Home","","","","",""); //[+]BRANCH[+]Home[+]0[+]False[+]False[+]False[+]False`,
    String.raw`menuBase.menuItems[1].subMenu[0]= new menuItemObject("","","","","This page","","","./tree.html#top","",""); //[+]LEAF[+]This page[+]2[+]False[+]False[+]False[+]False`,
  ]);
  const leaves = Array.from({ length: 250 }, (_, i) =>
    String.raw`menuBase.menuItems[0].subMenu[${i}]= new menuItemObject("","","","","Leaf ${i}","","","","",""); //[+]LEAF[+]Leaf ${i}[+]1[+]False[+]False[+]False[+]False`);
  await makeFolder(root, 'long', { lines: 1, height: 16 }, [
    String.raw`menuBase.menuItems[0]= new menuItemObject("","","","","Long","","","","",""); //[+]BRANCH[+]Long[+]0[+]False[+]False[+]False[+]False`,
    ...leaves,
    String.raw`menuBase.menuItems[1]= new menuItemObject("","","","","After","","","","",""); //[+]LEAF[+]After[+]0[+]False[+]False[+]False[+]False`,
  ]);
});
after(async () => {
  await browser?.close();
  await server?.close();
  await cleanup(root);
});

const item = (scope, name) => scope.getByRole('treeitem', { name, exact: true });
const own = (li) => li.locator(':scope > .vi-row > .vi-own');
const expanded = (li) => li.getAttribute('aria-expanded');
const focusedName = (scope) => scope.evaluate(() => {
  const li = document.activeElement;
  if (!li.matches('[role=treeitem]')) return null;
  const label = document.getElementById(li.getAttribute('aria-labelledby'));
  return label.textContent || label.querySelector('img').alt;
});

async function withPage(url, fn, options = {}) {
  context = await browser.newContext(options);
  try {
    const page = await open(context, url, { menu: !url.endsWith('index.html') && !url.includes('/at-') });
    await fn(page);
    assert.deepEqual(page.errors, []);
  } finally {
    await context.close();
  }
}

describe('menu behaviour', () => {
  test('branches open and close on sign, bullet and text; children are drawn on first opening', () =>
    withPage(server.url('site/tree.html'), async (page) => {
      assert.equal(await page.locator('[role=treeitem]').count(), 3);
      const products = item(page, 'Products');
      const bullet = products.locator(':scope > .vi-row > .vi-bullet');
      await own(products).click();
      assert.equal(await expanded(products), 'true');
      assert.equal(await page.locator('[role=treeitem]').count(), 6);
      assert.match(await bullet.getAttribute('src'), /open\.svg$/);
      assert.ok(await item(page, 'Widgets').isVisible());

      await bullet.click();
      assert.equal(await expanded(products), 'false');
      assert.ok(await item(page, 'Widgets').isHidden());
      assert.match(await bullet.getAttribute('src'), /folder\.svg$/);

      await page.getByText('Products', { exact: true }).click();
      assert.equal(await expanded(products), 'true');
      await item(page, 'Widgets').click();
      await own(products).click();
      assert.equal(await focusedName(page), 'Products', 'focus leaves a closing branch for the branch');
      assert.equal(await products.getAttribute('tabindex'), '0');
      await own(products).click();
      assert.equal(await page.locator('[role=treeitem]').count(), 6, 'children drawn once');
    }));

  test('ARIA tree: roles, levels, set positions, expanded state on branches only, one tab stop', () =>
    withPage(server.url('site/tree.html'), async (page) => {
      await page.keyboard.press('Tab');
      await page.keyboard.press('*');
      const items = await page.$$eval('[role=treeitem]', (lis) => lis.map((li) => [
        ((label) => label.textContent || label.querySelector('img').alt)(
          document.getElementById(li.getAttribute('aria-labelledby'))),
        li.getAttribute('aria-level'), li.getAttribute('aria-posinset'), li.getAttribute('aria-setsize'),
        li.getAttribute('aria-expanded'), li.tabIndex, li.parentElement.getAttribute('role')]));
      assert.deepEqual(items, [
        ['Products', '1', '1', '3', 'true', 0, 'tree'],
        ['Widgets', '2', '1', '3', null, -1, 'group'],
        [GADGETS_TEXT, '2', '2', '3', 'false', -1, 'group'],
        ['Picture', '2', '3', '3', null, -1, 'group'],
        ['Services', '1', '2', '3', 'true', -1, 'tree'],
        ['Support', '2', '1', '1', null, -1, 'group'],
        ['About', '1', '3', '3', null, -1, 'tree'],
      ]);
      assert.equal(await page.getAttribute('[role=tree]', 'aria-label'), 'Menu');
    }));

  test('keyboard table: arrows, Home, End, Enter, Space, * and type-ahead, with visible focus', () =>
    withPage(server.url('site/tree.html'), async (page) => {
      await page.keyboard.press('Tab');
      const outline = await page.evaluate(() =>
        getComputedStyle(document.activeElement.querySelector('.vi-label')).outlineStyle);
      assert.notEqual(outline, 'none', 'focus is visible');
      // [keys, focused item afterwards, [branch, aria-expanded] to check, why]
      const steps = [
        ['', 'Products', null, 'Tab enters at the first item'],
        ['ArrowRight', 'Products', ['Products', 'true'], 'Right opens a closed branch'],
        ['ArrowRight', 'Widgets', null, 'Right enters an open branch'],
        ['ArrowDown ArrowRight ArrowDown', 'Deep & leaf', [GADGETS_TEXT, 'true'], 'Down and Right'],
        ['ArrowLeft', GADGETS_TEXT, null, 'Left goes to the parent'],
        ['ArrowLeft', GADGETS_TEXT, [GADGETS_TEXT, 'false'], 'Left closes an open branch'],
        ['ArrowUp', 'Widgets', null, 'Up'],
        ['End', 'About', null, 'End goes to the last visible item'],
        ['ArrowUp', 'Services', null, 'Up skips the closed branch'],
        ['Home ArrowUp', 'Products', null, 'Home, and nothing above the first item'],
        ['*', 'Products', ['Services', 'true'], '* opens the siblings'],
        ['s', 'Services', null, 'type-ahead'],
        ['u', 'Support', null, 'type-ahead extends the search'],
        ['pause A', 'About', null, 'type-ahead ignores case'],
        ['pause P', 'Products', null, 'type-ahead wraps around'],
        ['ArrowDown ArrowDown Enter', GADGETS_TEXT, [GADGETS_TEXT, 'true'], 'Enter opens a branch'],
        ['Space', GADGETS_TEXT, [GADGETS_TEXT, 'false'], 'Space closes it'],
      ];
      for (const [keys, focused, check, why] of steps) {
        for (const key of keys.split(' ').filter(Boolean)) {
          if (key === 'pause') await page.waitForTimeout(700);
          else await page.keyboard.press(key === 'Space' ? ' ' : key);
        }
        assert.equal(await focusedName(page), focused, why);
        if (check) assert.equal(await expanded(item(page, check[0])), check[1], why);
      }
      assert.equal(await page.locator('[role=treeitem][tabindex="0"]').count(), 1, 'one tab stop');
      await page.keyboard.press('Tab');
      assert.equal(await focusedName(page), null, 'Tab leaves the tree');
    }));

  test('links open in their frame and mark the item followed, kept across a reload', () =>
    withPage(server.url('site/index.html'), async (page) => {
      const menu = page.frame({ name: 'menu' });
      const main = page.frame({ name: 'main' });
      await menu.waitForSelector('[role=tree]');
      await menu.getByText('Products', { exact: true }).click();
      await menu.getByText('Widgets', { exact: true }).click();
      await main.waitForURL(/widgets\.html$/);
      assert.equal(await item(menu, 'Widgets').getAttribute('aria-current'), 'page');

      // Keyboard: the branch Services opens and its link is followed too.
      await item(menu, 'Services').focus();
      await page.keyboard.press('Enter');
      await main.waitForURL(/services\.html$/);
      assert.equal(await expanded(item(menu, 'Services')), 'true');
      await page.keyboard.press('ArrowDown');
      await page.keyboard.press('Enter');
      await main.waitForURL(/support\.html$/);
      assert.equal(await menu.locator('[aria-current]').count(), 1);
      assert.equal(await item(menu, 'Support').getAttribute('aria-current'), 'page');

      await page.reload();
      const again = page.frame({ name: 'menu' });
      await again.waitForSelector('[role=tree]');
      assert.equal(await item(again, 'Support').getAttribute('aria-current'), 'page');
      assert.equal(await item(again, 'Support').getAttribute('tabindex'), '0');
      assert.equal(await expanded(item(again, 'Products')), 'true', 'opened branches stay open');
    }));

  test('the item showing in its frame, or linking to this page, is marked and revealed on load', async () => {
    await withPage(server.url('site/at-support.html'), async (page) => {
      const menu = page.frame({ name: 'menu' });
      await menu.waitForSelector('[role=tree]');
      await menu.waitForSelector('[aria-current=page]');
      assert.equal(await item(menu, 'Support').getAttribute('aria-current'), 'page');
      assert.equal(await expanded(item(menu, 'Services')), 'true');
    });
    await withPage(server.url('self/tree.html'), async (page) => {
      const self = item(page, 'This page');
      assert.equal(await self.getAttribute('aria-current'), 'page');
      assert.ok(await self.isVisible());
      assert.equal(await self.getAttribute('tabindex'), '0');
      assert.equal(await item(page, 'Elsewhere').getAttribute('aria-current'), null);
    });
  });

  for (const [scheme, url] of [['http', () => server.url('site/tree.html')], ['file', () => fileUrl(root, 'site/tree.html')]]) {
    test(`expanded branches are remembered per tab over ${scheme}`, () =>
      withPage(url(), async (page) => {
        const products = item(page, 'Products');
        await own(products).click();
        await own(item(page, GADGETS_TEXT)).click();
        await own(products).click();
        await page.reload();
        await page.waitForSelector('[role=tree]');
        assert.equal(await expanded(item(page, 'Products')), 'false');
        assert.equal(await page.locator('[role=treeitem]').count(), 3);
        await own(item(page, 'Products')).click();
        assert.equal(await expanded(item(page, GADGETS_TEXT)), 'true', 'inner branch reopens with its parent');
        assert.ok(await item(page, 'Deep & leaf').isVisible());

        const other = await open(context, url());
        assert.equal(await other.locator('[aria-expanded=true]').count(), 0, 'another tab starts closed');
      }));
  }

  test('mouse-over picture on hover and on keyboard focus', () =>
    withPage(server.url('site/tree.html'), async (page) => {
      await own(item(page, 'Products')).click();
      const pic = page.locator('img[alt="Picture"]');
      assert.match(await pic.getAttribute('src'), /out\.svg$/);
      await pic.hover();
      assert.match(await pic.getAttribute('src'), /over\.svg$/);
      await page.mouse.move(300, 300);
      assert.match(await pic.getAttribute('src'), /out\.svg$/);
      await item(page, 'Widgets').focus();
      await page.keyboard.press('End');
      await page.keyboard.press('ArrowUp');
      await page.keyboard.press('ArrowUp');
      assert.equal(await focusedName(page), 'Picture');
      assert.match(await pic.getAttribute('src'), /over\.svg$/);
      await page.keyboard.press('ArrowDown');
      assert.match(await pic.getAttribute('src'), /out\.svg$/);
    }));

  test('a long branch opens with all its rows, reachable by keyboard at once', () =>
    withPage(server.url('long/tree.html'), async (page) => {
      await page.keyboard.press('Tab');
      await page.keyboard.press('ArrowRight');
      await page.keyboard.press('End');
      assert.equal(await focusedName(page), 'After');
      await page.keyboard.press('ArrowUp');
      assert.equal(await focusedName(page), 'Leaf 249');
      await page.keyboard.press('ArrowUp');
      assert.equal(await page.getAttribute('[role=treeitem]:focus', 'aria-posinset'), '249');
      const tops = await page.$$eval('[role=treeitem] > .vi-row', (rows) => rows.map((r) => r.getBoundingClientRect().top));
      assert.equal(tops.length, 252);
      tops.forEach((t, i) => assert.equal(t - tops[0], 16 * i));
    }));

  test('touch opens branches', () =>
    withPage(server.url('site/tree.html'), async (page) => {
      await own(item(page, 'Products')).tap();
      assert.equal(await expanded(item(page, 'Products')), 'true');
      await page.getByText(GADGETS_TEXT, { exact: true }).tap();
      assert.equal(await expanded(item(page, GADGETS_TEXT)), 'true');
      assert.ok(await item(page, 'Deep & leaf').isVisible());
    }, { hasTouch: true, isMobile: true, viewport: { width: 360, height: 640 } }));
});
