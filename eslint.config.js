// ESLint's settings for the project's JavaScript, which the CTest test
// ScriptLint checks (label lint). ESLint itself is installed into build-node/ by
// scripts/install-deps test.
"use strict";
const recommended = require("@eslint/js").configs.recommended;

const browser = ["window", "document", "getComputedStyle", "setTimeout", "clearTimeout",
  "location", "history",
  "requestAnimationFrame", "performance", "Path2D", "DOMMatrix", "MessageChannel",
  "Image", "ImageData", "WebAssembly", "atob", "btoa"];
const node = ["require", "process", "console", "__dirname", "Buffer", "setTimeout"];
const readonly = (names) => Object.fromEntries(names.map((n) => [n, "readonly"]));

module.exports = [
  recommended,
  {
    // The page's script runs in every browser a player has: plain
    // ECMAScript 2015, one function, with the page's data in M and its
    // painter in PAINTER.
    files: ["mappage/map_page.js"],
    languageOptions: {
      ecmaVersion: 2015,
      sourceType: "script",
      globals: { ...readonly(browser), M: "readonly", PAINTER: "readonly" },
    },
    rules: {
      eqeqeq: "error",
      "no-implicit-globals": "error",
      // A value that cannot be decoded is shown as it is: the error itself
      // is not needed.
      "no-unused-vars": ["error", { caughtErrors: "none" }],
    },
  },
  {
    // The browser test and the benchmark: node scripts that drive Chromium,
    // with functions that run in the page.
    files: ["mappage/*_test.js", "bench/*.js", "eslint.config.js"],
    languageOptions: {
      ecmaVersion: 2022,
      sourceType: "commonjs",
      // M: the page's data, which the functions run in the page read.
      globals: readonly([...node, ...browser, "M", "PAINTER"]),
    },
    rules: { eqeqeq: "error" },
  },
];
