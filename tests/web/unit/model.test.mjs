// The tree model: open branches, rows, places, and the search's filtered view.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { createModel, isPlace, itemsOf } from '../../../TreeData/page/model.js';
import { menu, SAMPLE } from './menu.mjs';

const texts = (rows) => rows.map((n) => n.item.text);
const byText = (m, text) => m.allNodes().find((n) => n.item.text === text);

test('rows follow the open branches; ids and places name items', () => {
  const open = new Set(['0']);
  const m = createModel(menu(SAMPLE), false, open);
  assert.deepEqual(texts(m.layout()), ['Products', 'Widgets', 'Gadgets', 'Services', 'Café crème']);
  const path = m.pathTo('0.1.0');
  assert.deepEqual(texts(path), ['Products', 'Gadgets', 'Deep']);
  assert.equal(m.idOf(path[2]), '0.1.0');
  for (const bad of ['3', '0.5', '0.1.0.0', '', '01', '0..1', 'a', '-1']) assert.equal(m.pathTo(bad), null, bad);
  for (const [place, ok] of [['0', true], ['10.2.0', true], ['0.', false], ['1e3', false], ['gizmo.html', false]]) {
    assert.equal(isPlace(place), ok, place);
  }

  assert.equal(m.setOpen(path[1], true), true);
  assert.equal(m.setOpen(path[1], true), false, 'no change');
  assert.equal(m.setOpen(path[2], true), false, 'a leaf does not open');
  assert.deepEqual([...open], ['0', '0.1'], 'open ids kept for the tab');
  assert.deepEqual(texts(m.layout()), ['Products', 'Widgets', 'Gadgets', 'Deep', 'Services', 'Café crème']);
  assert.equal(m.isInside(path[2], path[0]), true);
  assert.equal(m.isInside(path[0], path[2]), false);

  const ids = [];
  m.eachItem((item, id) => { ids.push(id); return id === '1'; });
  assert.deepEqual(ids, ['0', '0.0', '0.1', '0.1.0', '1'], 'file order, stopping when asked');
  assert.deepEqual(itemsOf([1, null, 'x']), [], 'what is no item is left out');
});

test('a filter shows matches and the branches that hold them, and gives back the visitor\'s branches', () => {
  const open = new Set(['1']);
  const m = createModel(menu(SAMPLE), false, open);
  m.layout();
  const deep = byText(m, 'Deep'), services = byText(m, 'Services'), products = byText(m, 'Products');
  m.setFilter([deep, services]);
  assert.deepEqual(texts(m.layout()), ['Products', 'Gadgets', 'Deep', 'Services']);
  assert.equal(m.isOpen(products), true);
  assert.equal(m.isOpen(services), false, 'a matching branch shows closed');
  // The last of the siblings that show, which the lines end at.
  assert.deepEqual(m.rows.filter((n) => n.last).map((n) => n.item.text), ['Gadgets', 'Deep', 'Services']);
  // Opened by the visitor during the search: all its children show; closing hides the match.
  m.setOpen(services, true);
  m.setOpen(products, false);
  assert.deepEqual(texts(m.layout()), ['Products', 'Services', 'Support']);
  assert.deepEqual([...open], ['1'], 'the search leaves the kept branches alone');
  m.setFilter(null);
  assert.deepEqual(texts(m.layout()), ['Products', 'Services', 'Support', 'Café crème']);
  assert.equal(products.open, false);
});
