// Builds menus the way custom.js does, for the unit tests of the page's parts.
import { menuItemObject, menuObject } from '../../../TreeData/page/items.js';

// A menu from nested arrays: [text, href, description, kids?].
export function menu(spec) {
  const base = new menuObject(5, 5, 20, true, '', '', '', '', '', '', '');
  const add = (list, entries) => entries.forEach(([text, href = '', description = '', kids = []], i) => {
    list[i] = new menuItemObject('', '', '', '', text, '', '', href, '', description);
    add(list[i].subMenu, kids);
  });
  add(base.menuItems, spec);
  return base;
}

// Products > (Widgets, Gadgets > Deep), Services > Support, About
export const SAMPLE = [
  ['Products', '', '', [['Widgets', 'widgets.html', 'Our widgets'], ['Gadgets', '', '', [['Deep', 'deep.html']]]]],
  ['Services', 'services.html', '', [['Support', 'support.html', 'Get help']]],
  ['Café crème', 'about.html'],
];
