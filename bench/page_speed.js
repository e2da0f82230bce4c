// The map page's speed in Debian's Chromium, by the browser's own clock:
// the time from navigation to the first frame drawn after the page loaded,
// for each page given, RUNS times each, taken in turn; then the work of a
// wheel-zoom step and of a drag step until the frame that shows it (RUNS
// steps each; see stepTime), on the first page's whole map and on the last
// page's, whole and zoomed in. Prints one line per figure with its
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

// Milliseconds of work that the next event of that type makes before its
// change is on the screen, while send() makes the event: its handlers (from
// a listener on window in the capture phase, before the page's, to one in
// the bubble phase, after them), then the frame that shows the change (from
// that frame's start, as requestAnimationFrame gives it, to the end of its
// rendering, seen from a message posted in the callback). The wait for the
// frame to begin is the display's pace, not work, and is not counted.
async function stepTime(tab, type, send) {
  await tab.evaluate((type) => {
    window.stepDone = new Promise((done) => {
      let start = 0;
      window.addEventListener(type, () => { start = performance.now(); }, { capture: true, once: true });
      window.addEventListener(type, () => {
        const handled = performance.now() - start;
        requestAnimationFrame((frameStart) => {
          const channel = new MessageChannel();
          channel.port1.onmessage = () => done(handled + performance.now() - frameStart);
          channel.port2.postMessage(0);
        });
      }, { once: true });
    });
  }, type);
  await send();
  return tab.evaluate(() => window.stepDone);
}

// A drag of a few steps from (x, y): the time of each step but the first
// two, which only start it.
async function dragSteps(tab, x, y, steps) {
  const times = [];
  await tab.mouse.move(x, y);
  await tab.mouse.down();
  for (let i = 0; i < steps + 2; ++i) {
    const ms = await stepTime(tab, "pointermove", () => tab.mouse.move(x + 10 * (i + 1), y + 6 * (i + 1)));
    if (i >= 2) times.push(ms);
  }
  await tab.mouse.up();
  return times;
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
    // The steps on the whole map of each page, the first page's too: the
    // first page's small map and the last's large one may be drawn by
    // different means.
    async function wholeMapSteps(tab, name) {
      const zooms = [];
      for (let i = 0; i < runs; ++i) {
        await tab.mouse.move(700, 500);
        zooms.push(await stepTime(tab, "wheel", () => tab.mouse.wheel({ deltaY: i % 2 ? 120 : -120 })));
      }
      summary("wheel-zoom step, whole map, " + name, zooms);
      summary("drag step, whole map, " + name, await dragSteps(tab, 700, 500, runs));
    }
    if (pages.length > 1) {
      const { tab: first } = await openToDrawn(browser, pages[0]);
      const firstName = pages[0].split("/").pop();
      await wholeMapSteps(first, firstName);
      // Zoomed in as far as the page goes, a few hexes in view, each
      // hundreds of pixels across: a zoom step there draws its hexes anew
      // at a new size.
      for (let i = 0; i < 30; ++i) {
        await first.mouse.move(700, 500);
        await first.mouse.wheel({ deltaY: -240 });
      }
      const closest = [];
      for (let i = 0; i < runs; ++i) {
        await first.mouse.move(700, 500);
        closest.push(await stepTime(first, "wheel", () => first.mouse.wheel({ deltaY: i % 2 ? 40 : -40 })));
      }
      summary("wheel-zoom step, zoomed in closest, " + firstName, closest);
      await first.close();
    }
    const tab = last, name = pages[pages.length - 1].split("/").pop();
    await wholeMapSteps(tab, name);
    // Zoomed in until the terrain numbers are drawn: about a quarter of the
    // map's width in view.
    for (let i = 0; i < 6; ++i) {
      await tab.mouse.move(700, 500);
      await tab.mouse.wheel({ deltaY: -120 });
    }
    summary("drag step, zoomed in with the numbers, " + name, await dragSteps(tab, 700, 500, runs));
  } finally {
    await browser.close();
  }
})().catch((e) => { console.error(e); process.exit(1); });
