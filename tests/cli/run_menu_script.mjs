// Runs a custom.js as the page would, with the two constructors (and Image)
// stubbed, and prints what it defined as JSON. Any error ends the process
// with its message and a non-zero status.
import fs from 'node:fs';
import vm from 'node:vm';

const made = [];
class menuObject { constructor(...args) { this.args = args; this.menuItems = []; made.push(this); } }
class menuItemObject { constructor(...args) { this.args = args; this.subMenu = []; made.push(this); } }
const stubs = { menuObject, menuItemObject, Image: class {} };
const context = vm.createContext({ ...stubs });
vm.runInContext(fs.readFileSync(process.argv[2], 'utf8'), context, { filename: 'custom.js' });

const items = made.filter((o) => o instanceof menuItemObject);
process.stdout.write(JSON.stringify({
  globals: Object.keys(context).filter((name) => !(name in stubs)).sort(),
  foreign: made.filter((o) => !(o instanceof menuObject || o instanceof menuItemObject)).length,
  topItems: context.menuBase.menuItems.length,
  texts: items.map((o) => o.args[4]),
  targets: items.map((o) => o.args[8]),
}));
