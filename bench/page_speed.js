// The map page's speed in Debian's Chromium, by the browser's own clock:
// the time from navigation to the first frame drawn after the page loaded,
// for each page given, RUNS times each, taken in turn; then, on the last
// page, the time from a wheel-zoom step and from a drag step to the frame
// that shows it (RUNS steps each). Prints one line per figure with its
// median and range, in milliseconds.
// Usage: node page_speed.js RUNS FLAGS-FILE PAGE.html [PAGE.html ...]
"use strict";
const fs = require("fs");
const puppeteer = require("puppeteer-core");

const [runs, flagsFile, ...pages] = [Number(process.argv[2]), process.argv[3], ...process.argv.slice(4)];
const flags = fs.readFileSync(flagsFile, "utf8").split("\n").filter((f) => f !== "");

function summary(name, values) {
  const v = values.slice().sort((a, b) => a - b);
  const median = v[Math.floor((v.length - 1) / 2)];
  console.log(`${name}: median ${median.toFixed(1)} ms (${v[0].toFixed(1)} ... ${v[v.length - 1].toFixed(1)})`);
  return median;
}

// Milliseconds from navigation to the second animation frame after load.
async function openToDrawn(browser, page) {
  const tab = await browser.newPage();
  await tab.setViewport({ width: 1400, height: 1000 });
  await tab.goto("file://" + page, { waitUntil: "load" });
  const ms = await tab.evaluate(() => new Promise((done) =>
    requestAnimationFrame(() => requestAnimationFrame(() => done(performance.now())))));
  return { tab, ms };
}

// Milliseconds from the next event of that type on the view to the frame
// after the one it changed, while send() makes the event.
async function stepTime(tab, type, send) {
  await tab.evaluate((type) => {
    window.stepDone = new Promise((done) => {
      document.getElementById("view").addEventListener(type, () => {
        const t0 = performance.now();
        requestAnimationFrame(() => requestAnimationFrame(() => done(performance.now() - t0)));
      }, { capture: true, once: true });
    });
  }, type);
  await send();
  return tab.evaluate(() => window.stepDone);
}

(async () => {
  const browser = await puppeteer.launch({ executablePath: "/usr/bin/chromium", headless: true, args: flags });
  try {
    const opened = pages.map(() => []);
    let last = null;
    for (let run = 0; run < runs + 1; ++run) {  // the first round warms up
      for (let p = 0; p < pages.length; ++p) {
        const { tab, ms } = await openToDrawn(browser, pages[p]);
        if (run > 0) opened[p].push(ms);
        if (last) await last.close();
        last = tab;
      }
    }
    const medians = pages.map((page, p) => summary("open to drawn, " + page.split("/").pop(), opened[p]));
    if (pages.length > 1) {
      console.log(`ratio, last page to first: ${(medians[medians.length - 1] / medians[0]).toFixed(2)}`);
    }
    const tab = last;
    const zooms = [], drags = [];
    for (let i = 0; i < runs; ++i) {
      await tab.mouse.move(700, 500);
      zooms.push(await stepTime(tab, "wheel", () => tab.mouse.wheel({ deltaY: i % 2 ? 120 : -120 })));
    }
    await tab.mouse.move(700, 500);
    await tab.mouse.down();
    for (let i = 0; i < runs + 2; ++i) {
      const x = 700 + 10 * (i + 1), y = 500 + 6 * (i + 1);
      const ms = await stepTime(tab, "pointermove", () => tab.mouse.move(x, y));
      if (i >= 2) drags.push(ms);  // the first moves only start the drag
    }
    await tab.mouse.up();
    summary("wheel-zoom step, " + pages[pages.length - 1].split("/").pop(), zooms);
    summary("drag step, " + pages[pages.length - 1].split("/").pop(), drags);
  } finally {
    await browser.close();
  }
})().catch((e) => { console.error(e); process.exit(1); });
