// Lint of the page script, its tests and its benchmark (run by ctest as web_lint).
import js from '@eslint/js';

const browser = Object.fromEntries(['window', 'document', 'location', 'performance', 'getComputedStyle',
  'matchMedia', 'requestAnimationFrame', 'cancelAnimationFrame', 'setTimeout', 'clearTimeout', 'URL', 'Image',
  'KeyboardEvent', 'ResizeObserver', 'OffscreenCanvas', 'btoa', 'console', 'NodeFilter',
  'requestIdleCallback'].map((n) => [n, 'readonly']));
const node = Object.fromEntries(['process', 'console', 'Buffer', 'URL', 'setTimeout'].map((n) => [n, 'readonly']));

// State belongs in the script's own maps, not in expando properties of DOM elements.
const expando = {
  selector: 'AssignmentExpression > MemberExpression.left[property.name=/^_/]',
  message: 'Keep per-element state in a WeakMap, not in a property of the element.',
};

export default [
  js.configs.recommended,
  {
    rules: {
      'no-var': 'error',
      'prefer-const': 'error',
      eqeqeq: ['error', 'always', { null: 'ignore' }],
      'no-restricted-syntax': ['error', expando],
    },
  },
  {
    // Modules joined into one script at build time (TreeData/inline_page.cmake).
    files: ['TreeData/page/**/*.js'],
    languageOptions: { sourceType: 'module', ecmaVersion: 2022, globals: browser },
    rules: {
      // Joined by text (which also refuses an import over several lines).
      'no-restricted-syntax': ['error', expando,
        { selector: 'ExportDefaultDeclaration, ExportAllDeclaration, ExportNamedDeclaration[declaration=null]',
          message: 'Export a declaration: the page is joined by dropping the word export.' }],
    },
  },
  {
    files: ['tests/web/**/*.mjs', 'bench/page/**/*.mjs', 'eslint.config.mjs'],
    languageOptions: { sourceType: 'module', ecmaVersion: 2024, globals: { ...node, ...browser } },
  },
];
