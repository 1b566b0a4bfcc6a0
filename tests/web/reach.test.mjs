// Reaching every item: the landmark and descriptions, PageUp and PageDown, the
// search field, deep links, the browser's find and printing, the site map for
// visitors without script, and small screens, touch and large fonts.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { inflateSync } from 'node:zlib';
import { execFile } from 'node:child_process';
import { mkdir, readFile, writeFile } from 'node:fs/promises';
import { createRequire } from 'node:module';
import path from 'node:path';
import { GADGETS, makeFolder, sample, setUp, site, statement, withPage } from './fixture.mjs';

const axeSource = await readFile(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
const LONG = 'A label long enough to need two lines or more on a phone held upright in the hand';
// 40 branches of 50 leaves: more rows than the page keeps in the document once opened.
const bigMenu = Array.from({ length: 40 }, (_, b) => [
  statement(`menuItems[${b}]`, `Branch ${b}`, '', 'BRANCH'),
  ...Array.from({ length: 50 }, (_, i) => statement(`menuItems[${b}].subMenu[${i}]`, `Leaf ${b}.${i}`, `leaf${b}-${i}.html`))]).flat();

let env;
before(async () => {
  env = await setUp();
  await makeFolder(env.root, 'site', {}, [...sample,
    statement('menuItems[3]', 'Café crème', 'cafe.html', 'BRANCH'), statement('menuItems[3].subMenu[0]', 'Crème brûlée')],
  site());
  await makeFolder(env.root, 'big', {}, bigMenu);
  await makeFolder(env.root, 'narrow', { height: 16 }, [statement('menuItems[0]', 'Top', '', 'BRANCH'),
    statement('menuItems[0].subMenu[0]', LONG), statement('menuItems[0].subMenu[1]', 'Short'),
    statement('menuItems[1]', 'Next')]);
});
after(() => env?.tearDown());

const at = (url, fn, options) => withPage(env.browser, url, fn, options);
const item = (scope, name) => scope.getByRole('treeitem', { name, exact: true });
const focusedName = (scope) => scope.evaluate(() => {
  const el = document.activeElement;
  return el.getAttribute('role') === 'treeitem' ? el.querySelector('[dir]').textContent : el.getAttribute('aria-label');
});
// [name, aria-expanded] of every branch in the document.
const branches = (scope) => scope.getByRole('treeitem', { expanded: true }).or(scope.getByRole('treeitem',
  { expanded: false })).evaluateAll((lis) => lis.map((li) => [li.querySelector('[dir]').textContent, li.ariaExpanded]));
const inView = async (page, locator) => {
  const box = await locator.boundingBox(), view = page.viewportSize();
  return box !== null && box.y >= 0 && box.y + box.height <= view.height;
};
const frame = () => new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));

test('the tree sits in a named navigation landmark; a link description is the description, shown on keyboard focus', () =>
  at(env.url('site/tree.html'), async (page) => {
    const nav = page.getByRole('navigation', { name: 'Site menu' });
    assert.equal(await nav.getByRole('tree', { name: 'Menu' }).count(), 1);
    for (const key of ['Tab', 'Tab', 'ArrowRight', 'ArrowRight']) await page.keyboard.press(key);
    assert.equal(await focusedName(page), 'Widgets');
    const cdp = await page.context().newCDPSession(page);
    const { nodes } = await cdp.send('Accessibility.getFullAXTree');
    const described = Object.fromEntries(nodes.filter((n) => n.role?.value === 'treeitem')
      .map((n) => [n.name?.value, n.description?.value ?? '']));
    assert.deepEqual(described, { Products: '', Widgets: 'Our widgets', [GADGETS]: '', Picture: 'A picture',
      Services: '', About: '', 'Café crème': '' });
    const note = page.getByText('Our widgets', { exact: true });
    assert.ok(await note.isVisible(), 'shown while the item has the keyboard focus');
    assert.ok(await inView(page, note));
    await page.keyboard.press('Escape');
    assert.equal(await note.isVisible(), false, 'Escape hides it');
    await page.keyboard.press('ArrowDown');
    assert.equal(await note.isVisible(), false);
    assert.ok(await page.getByText('A picture', { exact: true }).isHidden(), 'only the focused item\'s');
  }));

test('PageDown and PageUp move by a page of rows, open nothing and stop at the ends, across virtual rows', () =>
  at(env.url('big/tree.html'), async (page) => {
    for (const key of ['Tab', 'Tab', '*']) await page.keyboard.press(key);
    const before = await branches(page);
    // A page of 600 px is 29 rows of 20 px, less the one in view before.
    const rowOf = (name) => {
      const [, b, i] = name.match(/(\d+)(?:\.(\d+))?$/);
      return Number(b) * 51 + (i === undefined ? 0 : Number(i) + 1);
    };
    let row = 0;
    for (let k = 0; k < 75; k++) {
      await page.keyboard.press('PageDown');
      const now = rowOf(await focusedName(page));
      assert.equal(now, Math.min(row + 29, 40 * 51 - 1), `PageDown ${k + 1}`);
      row = now;
      if (k % 10 === 0 || row === 40 * 51 - 1) assert.ok(await inView(page, page.locator(':focus > div')), `in view ${k}`);
    }
    assert.equal(await focusedName(page), 'Leaf 39.49', 'stops at the last row');
    await page.keyboard.press('PageUp');
    assert.equal(rowOf(await focusedName(page)), 40 * 51 - 1 - 29);
    await page.keyboard.press('Home');
    await page.keyboard.press('PageUp');
    assert.equal(await focusedName(page), 'Branch 0', 'stops at the first row');
    assert.deepEqual(await branches(page), before.slice(0, (await branches(page)).length), 'nothing opened or closed');
  }, { viewport: { width: 800, height: 600 } }));

test('the search field filters the tree, announces and highlights matches, and Escape gives back the open branches', () =>
  at(env.url('site/tree.html'), async (page) => {
    const field = page.getByRole('search').getByRole('searchbox', { name: 'Search the menu' });
    await page.keyboard.press('Tab');
    assert.ok(await field.evaluate((f) => f === document.activeElement), 'the field is the first tab stop');
    await item(page, 'Services').locator('.vi-own').click(); // the visitor's own open branch
    const visitors = await branches(page);

    // [typed, shown items, announced]
    for (const [typed, shown, said] of [
      ['creme', ['Café crème', 'Crème brûlée'], '2 items found'],
      ['BRÛ', ['Café crème', 'Crème brûlée'], '1 item found'],
      ['get help', ['Services', 'Support'], '1 item found'],
      ['deep &', ['Products', GADGETS, 'Deep & leaf'], '1 item found'],
      ['nothing like it', [], 'No items found'],
    ]) {
      await field.fill(typed);
      assert.deepEqual(await page.getByRole('treeitem').evaluateAll((lis) => lis.map((li) => li.querySelector('[dir]')
        .textContent)), shown, typed);
      assert.equal(await page.getByRole('status').textContent(), said, typed);
    }
    await field.fill('deep');
    assert.equal(await item(page, GADGETS).getAttribute('aria-expanded'), 'true', 'the branches of a match open');
    assert.deepEqual(await item(page, 'Deep & leaf').getByRole('mark').allTextContents(), ['Deep']);
    assert.equal(await page.getByRole('mark').count(), 1, 'only the matches are highlighted');

    await field.press('ArrowDown');
    assert.equal(await focusedName(page), 'Deep & leaf', 'Down reaches the first match');
    await page.keyboard.press('Shift+Tab');
    await page.keyboard.press('Tab');
    assert.equal(await focusedName(page), 'Deep & leaf', 'so does Tab');
    await page.keyboard.press('Shift+Tab');
    await page.keyboard.press('Escape');
    assert.equal(await field.inputValue(), '');
    assert.equal(await page.getByRole('status').textContent(), '');
    assert.deepEqual(await branches(page), visitors, 'the branches the visitor had open, and only those');
    assert.equal(await page.getByRole('mark').count(), 0);
  }));

test('the search field is usable on a 320 px phone', () =>
  at(env.url('site/tree.html'), async (page) => {
    const field = page.getByRole('searchbox', { name: 'Search the menu' });
    await field.tap();
    await page.keyboard.type('sup');
    const box = await field.boundingBox();
    assert.ok(box.x >= 0 && box.x + box.width <= 320 && box.width >= 120 && box.height >= 24, JSON.stringify(box));
    assert.ok(await page.getByRole('status').isVisible());
    assert.equal(await page.evaluate(() => document.documentElement.scrollWidth), 320);
    await page.getByRole('link', { name: 'Support' }).tap();
    assert.equal(await item(page, 'Support').getAttribute('aria-current'), 'page');
    // In a menu frame narrower still, the count goes below the field, and the tree below both.
    await page.setViewportSize({ width: 180, height: 480 });
    await page.evaluate(frame);
    const search = await page.getByRole('search').boundingBox(), first = await item(page, 'Services').boundingBox();
    assert.ok(search.height > 50 && first.y >= search.y + search.height, `${JSON.stringify([search, first])}`);
  }, { viewport: { width: 320, height: 480 }, hasTouch: true, isMobile: true }));

test('a URL names an item by its link, its place or a text fragment; the menu opens to it and gives it the tab stop', async () => {
  // [URL, item]; a text fragment is found the way find in page finds it, outside the drawn rows too.
  for (const [url, name] of [['site/tree.html#deep.html', 'Deep & leaf'], ['site/tree.html#0.1.0', 'Deep & leaf'],
    ['site/tree.html#0.1', GADGETS], ['site/tree.html#cafe.html', 'Café crème'],
    ['site/tree.html#:~:text=Deep%20%26%20leaf', 'Deep & leaf'], ['big/tree.html#:~:text=Leaf%2037.42', 'Leaf 37.42']]) {
    await at(env.url(url), async (page) => {
      await page.waitForFunction((n) => [...document.querySelectorAll('[role=treeitem]')]
        .some((li) => li.querySelector('[dir]').textContent === n), name);
      await page.evaluate(frame);
      assert.equal(await item(page, name).getAttribute('tabindex'), '0', url);
      assert.ok(await inView(page, item(page, name).locator(':scope > div')), url);
      assert.equal(await page.getByText(name, { exact: true }).filter({ visible: true }).count(), 1, `${url} shown once`);
      for (const key of ['Tab', 'Tab']) await page.keyboard.press(key);
      assert.equal(await focusedName(page), name, url);
    }, { viewport: { width: 800, height: 600 } });
  }
  await at(env.url('big/tree.html#leaf39-49.html'), async (page) => {
    assert.ok(await inView(page, item(page, 'Leaf 39.49').locator(':scope > div')), 'scrolled into view');
    assert.equal(await item(page, 'Branch 39').getAttribute('aria-expanded'), 'true');
    await page.evaluate(() => { location.hash = '#3.7'; });
    await page.waitForFunction(() => document.querySelector('[tabindex="0"]')?.textContent === 'Leaf 3.7');
    assert.ok(await inView(page, item(page, 'Leaf 3.7').locator(':scope > div')), 'a new # part moves there');
    assert.equal(await item(page, 'Branch 39').getAttribute('aria-expanded'), 'true', 'and leaves the rest open');
  }, { viewport: { width: 800, height: 600 } });
  // In a frameset, the menu reads the top page's # part.
  for (const [hash, name] of [['#support.html', 'Support'], ['#0.0', 'Widgets']]) {
    await at(env.url(`site/index.html${hash}`), async (page) => {
      const menu = page.frame({ name: 'menu' });
      await menu.waitForSelector('[role=tree]', { state: 'attached' });
      assert.equal(await item(menu, name).getAttribute('tabindex'), '0', hash);
    }, { menu: false });
  }
});

test('printing prints every shown row, with no blank page', () =>
  at(env.url('big/tree.html'), async (page) => {
    for (const key of ['Tab', 'Tab', '*']) await page.keyboard.press(key);
    await page.evaluate(() => window.addEventListener('beforeprint', () => {
      window.printed = [...document.querySelectorAll('[role=treeitem]')].map((li) => li.textContent);
    }));
    const pdf = await page.pdf({ width: '8in', height: '10in' });
    const printed = await page.evaluate(() => window.printed);
    assert.equal(printed.length, 40 * 51);
    assert.deepEqual(printed.slice(0, 3), ['Branch 0', 'Leaf 0.0', 'Leaf 0.1']);
    // Each page has a content stream; one without a text operator is blank.
    const pages = pdf.toString('latin1').match(/\/Type\s*\/Page\b/g).length;
    const streams = [...pdf.toString('latin1').matchAll(/stream\r?\n/g)].map((m) => {
      const start = m.index + m[0].length, end = pdf.indexOf('endstream', start);
      try { return inflateSync(pdf.subarray(start, end)).toString('latin1'); } catch { return ''; }
    });
    const withText = streams.filter((s) => /\bTJ\b|\bTj\b/.test(s)).length;
    // 2,040 rows of 20 px on pages of 960 px.
    assert.ok(pages >= 42 && pages <= 46, `${pages} pages`);
    assert.equal(withText, pages, 'no blank page');
    assert.ok(await page.getByRole('treeitem').count() < 200, 'after printing, the rows near the view again');
  }, { viewport: { width: 800, height: 600 } }));

// A custom.js as the editor writes it, up to its first item.
const header = ["// '", "// '", "// '", "// '", "// '", "// '", "// '", '//# Generator = Vuvov-Ivoza',
  '//# Version = 0', ...Array(18).fill("// '"), '//\\\\'];
const prologue = [...header, 'var BrowserSwitch = false;', 'var BackGroundColor = "";', 'var pmPercent = 50;',
  'var trans2x2=new Image();', 'trans2x2.src="treePics/2x2.gif";',
  'var menuBase = new menuObject(5,5,20,false,"","","","","","","");'];
const line = (at, text, href, target, parent, kind = 'LEAF') => `menuBase.${at}= new menuItemObject("","","","",` +
  `"${text}","","","${href}","${target}",""); //[+]${kind}[+]x[+]${parent}[+]False[+]False[+]False[+]False`;

test('without script the page links to the site map, which the export writes: every item link, nested', async (t) => {
  await at(env.url('site/tree.html'), async (page) => {
    const link = page.getByRole('link', { name: 'site map' });
    assert.equal(await link.getAttribute('href'), 'sitemap.html');
    assert.ok(await link.isVisible());
  }, { javaScriptEnabled: false, menu: false });
  if (!process.env.VI_CLI) return t.skip('VI_CLI names no command-line exporter');

  // The sample as the editor writes it, and a label without blanks that must wrap on a phone.
  const word = 'Averyveryverylongunbrokenwordthatcannotwrapanywhereatallxxxxxxxxxxxx';
  const source = path.join(env.root, 'source.js'), folder = path.join(env.root, 'exported');
  await writeFile(source, [...prologue,
    line('menuItems[0]', 'Products', '', '', 0, 'BRANCH'), line('menuItems[0].subMenu[0]', 'Widgets', 'widgets.html', 'main', 1),
    line('menuItems[0].subMenu[1]', '<b>Deep</b> &amp; leaf', 'deep.html', '', 1),
    line('menuItems[1]', 'Services', 'services.html', 'main', 0, 'BRANCH'), line('menuItems[1].subMenu[0]', 'Support', 'support.html', '_blank', 4),
    line('menuItems[1].subMenu[1]', word, 'long.html', '', 4),
    line('menuItems[2]', 'Café crème', 'cafe.html', '', 0), line('menuItems[3]', '', 'nameless.html', '', 0), ''].join('\r\n'));
  await mkdir(folder);
  await new Promise((resolve) => execFile(process.env.VI_CLI, ['export', source, folder], resolve));
  await at(env.url('exported/tree.html'), async (page) => {
    await page.getByRole('link', { name: 'site map' }).click();
    await page.waitForURL(/sitemap\.html$/);
    assert.equal(await page.title(), 'Site map');
    assert.equal(await page.getAttribute('html', 'lang'), 'en');
    const nav = page.getByRole('navigation', { name: 'Site map' });
    const links = await nav.getByRole('link').evaluateAll((as) => as.map((a) => [a.textContent, a.getAttribute('href'),
      a.getAttribute('target')]));
    assert.deepEqual(links, [['Widgets', 'widgets.html', 'main'], ['Deep & leaf', 'deep.html', null],
      ['Services', 'services.html', 'main'], ['Support', 'support.html', '_blank'], [word, 'long.html', null],
      ['Café crème', 'cafe.html', null], ['nameless.html', 'nameless.html', null]]);
    assert.equal(await nav.getByRole('list').count(), 3, 'the top level and two branches');
    assert.equal(await nav.getByRole('listitem').filter({ hasText: 'Deep & leaf' }).count(), 2, 'nested in Products');
  }, { javaScriptEnabled: false, menu: false });
  await at(env.url('exported/sitemap.html'), async (page) => {
    await page.addScriptTag({ content: axeSource });
    const result = await page.evaluate(() => window.axe.run(document, {
      runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa', 'best-practice'] } }));
    assert.deepEqual(result.violations.map((v) => v.id), []);
    assert.ok(result.passes.length > 10);
  }, { menu: false });
  await at(env.url('exported/sitemap.html'), async (page) => {
    assert.ok(await page.getByRole('link', { name: word }).isVisible());
    assert.equal(await page.evaluate(() => document.documentElement.scrollWidth), 320, 'the long label wraps');
  }, { menu: false, viewport: { width: 320, height: 480 } });
});

test('at 320 px long labels wrap; a coarse pointer gets rows of 24 px; a 24 px font makes rows grow', async () => {
  const rows = (page) => page.getByRole('treeitem').evaluateAll((lis) => lis.map((li) => {
    // The label's box less the leading above and below its lines, which rows do not count.
    const r = li.firstElementChild.getBoundingClientRect(), label = li.querySelector('[dir]'), css = getComputedStyle(label);
    return { name: label.textContent, top: r.top, height: r.height, em: parseFloat(css.fontSize),
      label: label.getBoundingClientRect().height + parseFloat(css.marginTop) + parseFloat(css.marginBottom) };
  }));
  // Each row below the last, as tall as its text at least.
  const stacked = (list, why) => list.forEach((r, i) => {
    assert.ok(r.height >= r.label - 0.5, `${why}: ${r.name} holds its text`);
    if (i) assert.ok(Math.abs(r.top - (list[i - 1].top + list[i - 1].height)) < 1, `${why}: ${r.name} below the last`);
  });
  // [why, context options, font size, row heights at least, the long label wraps]
  for (const [why, options, font, least, wraps] of [
    ['mouse at 320 px', { viewport: { width: 320, height: 480 } }, 16, 16, true],
    ['touch', { viewport: { width: 800, height: 480 }, hasTouch: true, isMobile: true }, 16, 24, false],
    ['mouse', { viewport: { width: 800, height: 480 } }, 16, 16, false],
    ['24 px font', { viewport: { width: 1200, height: 480 } }, 24, 16, false]]) {
    await at(env.url('narrow/tree.html'), async (page) => {
      if (font !== 16) {
        const cdp = await page.context().newCDPSession(page);
        await cdp.send('Page.setFontSizes', { fontSizes: { standard: font } });
        await page.reload();
        await page.waitForSelector('[role=tree]');
      }
      await item(page, 'Top').locator('.vi-own').click();
      await page.evaluate(frame);
      const list = await rows(page);
      stacked(list, why);
      for (const r of list) assert.ok(r.height >= least, `${why}: ${r.name} ${r.height} px`);
      if (why === 'mouse') assert.deepEqual(list.map((r) => r.height), [16, 16, 16, 16], 'the author\'s height');
      if (font === 24) assert.ok(list.every((r) => r.height > 16), 'rows grow with the text');
      const long = list.find((r) => r.name === LONG);
      assert.equal(long.label >= 2 * long.em, wraps, `${why}: wraps`);
      assert.equal(await page.evaluate(() => document.documentElement.scrollWidth <= window.innerWidth), true, why);
    }, options);
  }
});
