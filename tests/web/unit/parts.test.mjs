// Row layout, search, keys and deep links: the page's parts that need no browser.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { createModel } from '../../../TreeData/page/model.js';
import { createRowLayout } from '../../../TreeData/page/rows.js';
import { countText, createFinder, fold, matchRanges } from '../../../TreeData/page/search.js';
import { createTypeAhead, TYPE_AHEAD_MS } from '../../../TreeData/page/keys.js';
import { deepLinkId, links, shownAt, urlKey } from '../../../TreeData/page/current.js';
import { menu, SAMPLE } from './menu.mjs';

test('row offsets with taller rows, the row at an offset, and a page up or down', () => {
  const layout = createRowLayout(20);
  const rows = Array.from({ length: 100 }, (_, i) => ({ extra: i === 3 ? 15 : i === 50 ? 5 : 0 }));
  layout.update(rows);
  // [row, its top]
  for (const [i, top] of [[0, 0], [3, 60], [4, 95], [50, 1015], [51, 1040], [99, 2000]]) {
    assert.equal(layout.top(i), top, `top of ${i}`);
  }
  assert.equal(layout.height(), 2020);
  assert.equal(layout.heightOf(3), 35);
  // [offset, row]
  for (const [y, i] of [[-50, 0], [0, 0], [94, 3], [95, 4], [1039, 50], [99999, 99]]) {
    assert.equal(layout.rowAt(y), i, `row at ${y}`);
  }
  // [from, view, down, to]: a page is the view less a row, at least one row, within the ends.
  for (const [from, view, down, to] of [[51, 200, true, 60], [60, 200, false, 51], [0, 200, true, 8],
    [95, 200, true, 99], [5, 200, false, 0], [0, 10, true, 1], [99, 200, true, 99], [0, 200, false, 0]]) {
    assert.equal(layout.pageFrom(from, view, down), to, `${down ? 'down' : 'up'} from ${from}`);
  }
  layout.update([]);
  assert.equal(layout.pageFrom(0, 200, true), -1);
});

test('search folds case and accents, finds label text and description, and places the highlight', () => {
  for (const [text, folded] of [['Café Crème', 'cafe creme'], ['ÅNGSTRÖM', 'angstrom'], ['Straße', 'straße']]) {
    assert.equal(fold(text), folded);
  }
  // [text, query, stretches]
  for (const [text, query, ranges] of [['Café crème', 'CREME', [[5, 10]]], ['abcabc', 'bc', [[1, 3], [4, 6]]],
    ['Cafe\u0301 x', 'café', [[0, 5]]], ['x', ' ', []], ['Widgets', 'z', []]]) {
    assert.deepEqual(matchRanges(text, query), ranges, `${text} / ${query}`);
  }
  const m = createModel(menu(SAMPLE), false, new Set());
  const finder = createFinder(m.allNodes(), (n) => `${n.item.text}\n${n.item.description}`);
  const names = (q) => finder.find(q)?.map((n) => n.item.text) ?? null;
  assert.deepEqual(names('e'), ['Widgets', 'Gadgets', 'Deep', 'Services', 'Support', 'Café crème']);
  assert.deepEqual(names('el'), ['Support'], 'narrowed among the last matches, "Get help" being Support\'s');
  assert.deepEqual(names('CAFE'), ['Café crème']);
  assert.deepEqual(names('  '), null);
  assert.deepEqual(names('help'), ['Support'], 'after an empty query, searched afresh');
  assert.deepEqual([0, 1, 32766].map(countText), ['No items found', '1 item found', '32,766 items found']);
});

test('type-ahead runs while keys come within its time', () => {
  let now = 1000;
  const rows = ['apple', 'banana', 'blueberry', 'cherry'].map((name, row) => ({ name, row }));
  const ahead = createTypeAhead((n) => n.name, () => now);
  // [ms since the last key, key, from row, found]
  for (const [wait, key, from, found] of [[0, 'b', 0, 'banana'], [100, 'l', 1, 'blueberry'],
    [TYPE_AHEAD_MS + 1, 'b', 2, 'banana'], [0, 'a', 1, 'banana'], [TYPE_AHEAD_MS + 1, 'z', 0, null]]) {
    now += wait;
    assert.equal(ahead.next(rows, from, key)?.name ?? null, found, `${key} from ${from}`);
  }
  assert.equal(ahead.running(), true);
  ahead.reset();
  assert.equal(ahead.running(), false);
});

test('deep links name an item by its link as written, or by its place; links match what a window shows', () => {
  const m = createModel(menu([...SAMPLE, ['Odd', 'a b.html'], ['Digits', '1.0']]), false, new Set());
  // [# part, id]
  for (const [hash, id] of [['#widgets.html', '0.0'], ['support.html', '1.0'], ['#0.1.0', '0.1.0'],
    ['#a%20b.html', '3'], ['#1.0', '4'], ['#9', null], ['#', null], ['', null], ['#nowhere.html', null],
    ['#%E0', null]]) {
    assert.equal(deepLinkId(hash, m), id, hash);
  }
  assert.equal(urlKey('a.html#x', 'http://h/d/tree.html'), 'http://h/d/a.html');
  assert.equal(urlKey('http://[', 'http://h/'), null);
  const shown = shownAt('http://h/d/a%20b.html#top');
  assert.equal(links({ href: 'a b.html' }, shown, 'http://h/d/tree.html'), true);
  assert.equal(links({ href: 'a b.html' }, shown, 'http://h/other/tree.html'), false);
  assert.equal(links({ href: 'c.html' }, null, 'http://h/d/'), false);
});
