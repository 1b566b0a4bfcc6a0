// Lint of the page script, its tests and its benchmark (run by ctest as web_lint).
import js from '@eslint/js';

const browser = Object.fromEntries(['window', 'document', 'location', 'performance', 'getComputedStyle',
  'matchMedia', 'requestAnimationFrame', 'cancelAnimationFrame', 'setTimeout', 'clearTimeout', 'URL', 'Image',
  'KeyboardEvent', 'ResizeObserver', 'OffscreenCanvas', 'btoa', 'console'].map((n) => [n, 'readonly']));
const node = Object.fromEntries(['process', 'console', 'Buffer', 'URL', 'setTimeout'].map((n) => [n, 'readonly']));

export default [
  js.configs.recommended,
  {
    rules: {
      'no-var': 'error',
      'prefer-const': 'error',
      eqeqeq: ['error', 'always', { null: 'ignore' }],
      // State belongs in the script's own maps, not in expando properties of DOM elements.
      'no-restricted-syntax': ['error', {
        selector: 'AssignmentExpression > MemberExpression.left[property.name=/^_/]',
        message: 'Keep per-element state in a WeakMap, not in a property of the element.',
      }],
    },
  },
  {
    files: ['TreeData/tree.js'],
    languageOptions: { sourceType: 'script', ecmaVersion: 2022, globals: browser },
    rules: {
      // The two constructors are the page's interface to custom.js.
      'no-unused-vars': ['error', { varsIgnorePattern: '^(menuObject|menuItemObject)$' }],
    },
  },
  {
    files: ['tests/web/**/*.mjs', 'bench/page/**/*.mjs', 'eslint.config.mjs'],
    languageOptions: { sourceType: 'module', ecmaVersion: 2024, globals: { ...node, ...browser } },
  },
];
