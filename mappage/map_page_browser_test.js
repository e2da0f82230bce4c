// The map page in Debian's Chromium, driven with real input events through
// puppeteer-core, as a player uses it on a desktop and on a phone. Run by
// MapPageBrowserTest.PlayerControls (map_page_browser_test.cc), which writes
// the page of a known 20 x 12 map:
//   hex i at X = i % 20, Y = i / 20, ID i, PoliticalControl cycling through
//   0, 3, 6, 15, 8, 1, 9 (i % 7), TerrainType 8192, PlanetType 4 when
//   i % 5 == 0, StarbaseType 2 when i % 7 == 0, economy 1/1, victory 2/2;
// and the page of a known 127 x 127 map, the largest, whose hexes are a few
// pixels across on a desktop: hex i at X = i % 127, Y = i / 127, the rest
// as above; and that page again with its painter taken out.
// and the page of a map around 0 (X -3 to 2, Y -2 to 1, no control but
// (-3, -1), empire 0's, and (1, -2), empire 3's), whose hexes it finds at
// positions worked out by hand.
// Usage: node map_page_browser_test.js PAGE.html LARGE-PAGE.html
//        LARGE-PAGE-WITHOUT-PAINTER.html AROUND-ZERO.html
// Prints "ok - ..." or "not ok - ..." per check and ends with status 1 when
// one failed.
"use strict";
const puppeteer = require("puppeteer-core");
const zlib = require("zlib");

const [page, largePage, largeWithoutPainter, aroundZero] = process.argv.slice(2, 6);
let failures = 0;
function check(ok, what, detail) {
  console.log((ok ? "ok - " : "not ok - ") + what + (ok || !detail ? "" : ": " + detail));
  if (!ok) failures++;
}

// The colour of a 1 x 1 PNG screenshot (8-bit RGB or RGBA, one row).
function pixel(png) {
  let at = 8, idat = [], colourType = 0;
  while (at < png.length) {
    const length = png.readUInt32BE(at), type = png.toString("ascii", at + 4, at + 8);
    if (type === "IHDR") colourType = png[at + 17];
    if (type === "IDAT") idat.push(png.subarray(at + 8, at + 8 + length));
    at += 12 + length;
  }
  const row = zlib.inflateSync(Buffer.concat(idat));  // filter byte, then the pixel
  if (colourType !== 2 && colourType !== 6) throw new Error("colour type " + colourType);
  return [row[1], row[2], row[3]];
}

// Where a point of the drawing is on the screen, in CSS pixels.
async function onScreen(tab, mx, my) {
  return tab.evaluate((x, y) => {
    const svg = document.getElementById("map"), p = svg.createSVGPoint();
    p.x = x; p.y = y;
    const s = p.matrixTransform(svg.getScreenCTM());
    return [s.x, s.y];
  }, mx, my);
}
// Where hex (x, y) of a known map from (0, 0) is drawn: the middle of its
// hexagon on the screen, and the hexagon's width. Worked out by hand:
// flat-topped hexagons 32 across (16 from centre to corner) in columns 24
// apart, rows 27.7128 apart (16 sqrt(3)), odd columns half a row lower;
// hex (0, 0) half a hex and a margin of 4 from the drawing's corner, at
// (20, 17.8564); the SVG over the canvas maps the drawing onto the screen.
const DRAWN = (x, y) => {
  const svg = document.getElementById("map"), ctm = svg.getScreenCTM(), p = svg.createSVGPoint();
  p.x = 20 + 24 * x;
  p.y = 17.8564 + 27.7128 * (y + (x & 1) / 2);
  const s = p.matrixTransform(ctm);
  return [s.x, s.y, 32 * ctm.a];
};
async function hexOnScreen(tab, x, y) {
  return tab.evaluate(`(${DRAWN})(${x}, ${y})`);
}
// The canvas's pixels as they show on the page's white: RGB, row after row.
async function picture(tab) {
  return Buffer.from(await tab.evaluate(() => {
    const c = document.getElementById("hexes"), d = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
    const rgb = [];
    for (let i = 0; i < d.length; i += 4) {
      for (let k = 0; k < 3; k++) rgb.push(String.fromCharCode(Math.round(d[i + k] * d[i + 3] / 255 + 255 - d[i + 3])));
    }
    return btoa(rgb.join(""));
  }), "base64");
}
async function viewWidth(tab) {
  return tab.evaluate(() => document.getElementById("map").viewBox.baseVal.width);
}
async function rowShown(tab) {
  return tab.evaluate(() => {
    const out = {};
    const dts = document.querySelectorAll("#row dt");
    dts.forEach((dt) => { out[dt.textContent] = dt.nextElementSibling.textContent; });
    return out;
  });
}

async function everyHexInView(tab, label) {
  const result = await tab.evaluate(`(() => {
    const drawn = ${DRAWN};
    const view = document.getElementById("view").getBoundingClientRect();
    const left = document.getElementById("left").getBoundingClientRect();
    const top = document.getElementById("top").getBoundingClientRect();
    let outside = 0;
    for (let i = 0; i < 240; i++) {
      const s = drawn(i % 20, Math.floor(i / 20));
      // Inside the window, and not under the column or row numbers.
      if (s[0] - s[2] / 2 < left.right - 0.5 || s[1] < top.bottom ||
          s[0] > view.right || s[1] > view.bottom ||
          s[0] > window.innerWidth || s[1] > window.innerHeight) outside++;
    }
    return outside;
  })()`);
  check(result === 0, label + ": every hex lies in the window on open, clear of the rulers",
        result + " outside");
}

// The column numbers sit on the map's top edge, or on the view's when the
// map reaches above it; the row numbers likewise on its left edge.
async function numbersAgainstTheEdges(tab, label) {
  const gaps = await tab.evaluate(`(() => {
    const drawn = ${DRAWN};
    const view = document.getElementById("view").getBoundingClientRect();
    const top = document.getElementById("top").getBoundingClientRect();
    const left = document.getElementById("left").getBoundingClientRect();
    const corner = drawn(0, 0);
    const mapTop = corner[1] - corner[2] * Math.sqrt(3) / 4, mapLeft = corner[0] - corner[2] / 2;
    return [top.bottom - Math.max(mapTop, view.top + top.height),
            left.right - Math.max(mapLeft, view.left + left.width)];
  })()`);
  check(Math.abs(gaps[0]) < 1.5 && Math.abs(gaps[1]) < 1.5,
        label + ": the column and row numbers sit against the map's edges", "off by " + gaps);
  // No row number hides under the column numbers, and each stays by its
  // row: the row's centre (in column 0) lies within the number's line.
  const rows = await tab.evaluate(`(() => {
    const drawn = ${DRAWN};
    const top = document.getElementById("top").getBoundingClientRect();
    const spans = [...document.querySelectorAll("#left span")];
    const at = (s) => s.getBoundingClientRect();
    const under = spans.filter((s) => at(s).top < top.bottom - 0.5).map((s) => s.textContent);
    const astray = spans.filter((s) => {
      const r = at(s), centre = drawn(0, Number(s.textContent))[1];
      return centre < r.top - 0.5 || centre > r.bottom + 0.5;
    }).map((s) => s.textContent);
    return { count: spans.length, under, astray };
  })()`);
  check(rows.count > 0 && rows.under.length === 0 && rows.astray.length === 0,
        label + ": every row number shows, clear of the column numbers and by its row",
        JSON.stringify(rows));
}

(async () => {
  const browser = await puppeteer.launch({
    executablePath: "/usr/bin/chromium",
    headless: true,
    // The project's one list of Chromium's options (scripts/chromium-flags).
    args: require("fs").readFileSync(require("path").join(__dirname, "..", "scripts", "chromium-flags"), "utf8")
      .split("\n").filter((flag) => flag !== ""),
  });
  try {
    const tab = await browser.newPage();

    // A phone: the whole map on open.
    await tab.setViewport({ width: 390, height: 844, deviceScaleFactor: 1, hasTouch: true, isMobile: true });
    await tab.goto("file://" + page);
    await everyHexInView(tab, "phone 390 x 844");
    await numbersAgainstTheEdges(tab, "phone 390 x 844");
    const legendOpen = await tab.evaluate(() => document.getElementById("legend").open);
    check(!legendOpen, "phone: the legend is folded away");

    // A window that changes size before anything is zoomed fits the map
    // anew (a phone turned, a browser that sizes its window after loading).
    await tab.setViewport({ width: 390, height: 844, deviceScaleFactor: 1, hasTouch: true, isMobile: true });
    await tab.setViewport({ width: 844, height: 390, deviceScaleFactor: 1, hasTouch: true, isMobile: true });
    await new Promise((r) => setTimeout(r, 100));
    await everyHexInView(tab, "phone turned to 844 x 390");

    // A desktop window.
    await tab.setViewport({ width: 1400, height: 1000, deviceScaleFactor: 1 });
    await tab.goto("file://" + page);
    await everyHexInView(tab, "desktop 1400 x 1000");
    await numbersAgainstTheEdges(tab, "desktop 1400 x 1000");
    const legendBeside = await tab.evaluate(() => {
      const legend = document.getElementById("legend").getBoundingClientRect();
      const view = document.getElementById("view").getBoundingClientRect();
      return legend.left >= view.right && legend.top < window.innerHeight;
    });
    check(legendBeside, "desktop: the legend is beside the map, in view");

    // The fill colours, just above each hex's centre (between the markers
    // and the terrain number): empire 0 indigo, 3 green, 6 rose, no
    // control pale grey, 8 purple, 1 cyan.
    const expected = [[0x33, 0x22, 0x88], [0x11, 0x77, 0x33], [0xCC, 0x66, 0x77],
                      [0xDD, 0xDD, 0xDD], [0xAA, 0x44, 0x99], [0x88, 0xCC, 0xEE]];
    for (let i = 0; i < expected.length; i++) {
      const c = await hexOnScreen(tab, i, 0);
      const s = [c[0], c[1] - c[2] * 1.5 / 32];
      const got = pixel(await tab.screenshot({ clip: { x: Math.round(s[0]), y: Math.round(s[1]), width: 1, height: 1 } }));
      const near = got.every((v, k) => Math.abs(v - expected[i][k]) <= 4);
      check(near, "hex " + i + " at X " + i + ", Y 0 has its colour", "got " + got + ", want " + expected[i]);
    }
    const other = await tab.evaluate(() => [...document.querySelectorAll("[data-c]")].map((b) => b.textContent));
    check(other.includes("Other value (9)"), "the legend names the other control value", other.join(" | "));

    // The wheel zooms in around the pointer: the point under it stays.
    const point = [700, 500];
    const before = await tab.evaluate((x, y) => {
      const svg = document.getElementById("map"), p = svg.createSVGPoint();
      p.x = x; p.y = y;
      const m = p.matrixTransform(svg.getScreenCTM().inverse());
      return [m.x, m.y];
    }, point[0], point[1]);
    const widthBefore = await viewWidth(tab);
    await tab.mouse.move(point[0], point[1]);
    await tab.mouse.wheel({ deltaY: -240 });
    await new Promise((r) => setTimeout(r, 100));
    const widthAfter = await viewWidth(tab);
    const stays = await onScreen(tab, before[0], before[1]);
    check(widthAfter < widthBefore * 0.9, "the wheel zooms in", widthBefore + " -> " + widthAfter);
    check(Math.abs(stays[0] - point[0]) < 1 && Math.abs(stays[1] - point[1]) < 1,
          "the point under the pointer stays under it", "now at " + stays);
    await numbersAgainstTheEdges(tab, "zoomed in");

    // A drag moves the map with the pointer.
    const hexBefore = await hexOnScreen(tab, 10, 6);
    await tab.mouse.move(600, 400);
    await tab.mouse.down();
    await tab.mouse.move(640, 420, { steps: 4 });
    await tab.mouse.move(680, 440, { steps: 4 });
    await tab.mouse.up();
    const hexAfter = await hexOnScreen(tab, 10, 6);
    check(Math.abs(hexAfter[0] - hexBefore[0] - 80) < 2 && Math.abs(hexAfter[1] - hexBefore[1] - 40) < 2,
          "a drag moves the map by as much", hexBefore + " -> " + hexAfter);

    // A click on a hex shows its row, named as in the webmap reference.
    await tab.click("#fit");
    const target = await hexOnScreen(tab, 2, 1);
    await tab.mouse.move(target[0], target[1]);
    const under = await tab.evaluate(() => document.getElementById("at").textContent);
    check(under === "X 2, Y 1", "the pointer shows the X, Y under it", under);
    await tab.mouse.click(target[0], target[1]);
    const row = await rowShown(tab);
    check(row.ID === "22" && row.X === "2" && row.Y === "1" && row.PoliticalControl === "3" &&
          row.TerrainType === "8192" && row.PlanetType === "0" && row.StarbaseType === "0" &&
          row.BaseEconomicPoints === "1" && row.CurrentVictoryPoints === "2" &&
          row.BaseSpeedPoints === "1" && row.LOCKED === "NULL" && row.LOCKID === "NULL",
          "a click shows the hex's whole row", JSON.stringify(row));
    const outlined = await tab.evaluate(() => {
      const sel = document.getElementById("sel"), r = sel.getBoundingClientRect();
      return sel.getAttribute("visibility") === "visible" ? [r.left + r.width / 2, r.top + r.height / 2] : null;
    });
    check(outlined && Math.abs(outlined[0] - target[0]) < 1 && Math.abs(outlined[1] - target[1]) < 1,
          "the clicked hex is outlined", "outline at " + outlined + ", hex at " + target);
    // The outline shows: black along the hexagon's edge, just inside its
    // right corner.
    const edge = [target[0] + target[2] * 15 / 32, target[1]];
    const edgeColour = pixel(await tab.screenshot({ clip: { x: Math.round(edge[0]), y: Math.round(edge[1]), width: 1, height: 1 } }));
    check(edgeColour.every((v) => v < 40), "the outline is drawn in black", "got " + edgeColour);

    // Go to X, Y with the keyboard only: Tab to the box, type, Enter.
    await tab.click("h1");
    let focused = "";
    for (let i = 0; i < 12 && focused !== "gx"; i++) {
      await tab.keyboard.press("Tab");
      focused = await tab.evaluate(() => document.activeElement && document.activeElement.id);
    }
    check(focused === "gx", "Tab reaches the Go to box", "focus on " + focused);
    await tab.keyboard.type("17");
    await tab.keyboard.press("Tab");
    await tab.keyboard.type("9");
    await tab.keyboard.press("Enter");
    const went = await rowShown(tab);
    const note = await tab.evaluate(() => document.getElementById("note").textContent);
    check(went.ID === "197" && went.X === "17" && went.Y === "9" && note === "Hex at X 17, Y 9:",
          "Go to selects the hex", note + " " + JSON.stringify(went));
    const centred = await hexOnScreen(tab, 17, 9);
    const view = await tab.evaluate(() => {
      const r = document.getElementById("view").getBoundingClientRect();
      return [r.left + r.width / 2, r.top + r.height / 2];
    });
    check(Math.abs(centred[0] - view[0]) < 2 && Math.abs(centred[1] - view[1]) < 2,
          "Go to centres the map on the hex", centred + " vs " + view);

    // The + button by keyboard.
    const w0 = await viewWidth(tab);
    await tab.focus("#zin");
    await tab.keyboard.press("Enter");
    check(await viewWidth(tab) < w0, "the + button zooms in from the keyboard");

    // Choosing an empire in the legend highlights its hexes: the others fade
    // to a fifth of their colour over white, with their terrain numbers.
    // Hex 1 (X 1, Y 0) is empire 3's, hex 0 empire 0's.
    await tab.click("#fit");
    await tab.click("#legend [data-c=p3]");
    const colourAt = async (x, y) => {
      const c = await hexOnScreen(tab, x, y);
      const s = [c[0], c[1] - c[2] * 1.5 / 32];
      return pixel(await tab.screenshot({ clip: { x: Math.round(s[0]), y: Math.round(s[1]), width: 1, height: 1 } }));
    };
    // The darkest pixel around a hex's terrain number.
    const darkestNumber = async (x, y) => {
      const c = await hexOnScreen(tab, x, y), w = c[2];
      const png = await tab.screenshot({ clip: { x: Math.round(c[0] - w / 4), y: Math.round(c[1] + w * 0.15),
                                                   width: Math.round(w / 2), height: Math.round(w * 0.3) },
                                           encoding: "base64" });
      return tab.evaluate(async (data) => {
        const image = new Image();
        image.src = "data:image/png;base64," + data;
        await image.decode();
        const c = document.createElement("canvas");
        c.width = image.width; c.height = image.height;
        const g = c.getContext("2d");
        g.drawImage(image, 0, 0);
        const d = g.getImageData(0, 0, c.width, c.height).data;
        let darkest = 255;
        for (let i = 0; i < d.length; i += 4) darkest = Math.min(darkest, (d[i] + d[i + 1] + d[i + 2]) / 3);
        return darkest;
      }, png);
    };
    // Whether a standing hex shows empire 3's green and a faded one a fifth
    // of its own colour over white.
    const standsAndFades = (standing, faded, fadedColour) =>
      standing.every((v, k) => Math.abs(v - [0x11, 0x77, 0x33][k]) <= 4) &&
      faded.every((v, k) => Math.abs(v - (0.2 * fadedColour[k] + 0.8 * 255)) <= 6);
    const standing = await colourAt(1, 0), fadedHex = await colourAt(0, 0);
    check(standsAndFades(standing, fadedHex, [0x33, 0x22, 0x88]),
          "the legend highlights an empire's hexes and fades the others",
          "empire 3's hex " + standing + ", empire 0's " + fadedHex);
    const numberStanding = await darkestNumber(1, 0), numberFaded = await darkestNumber(0, 0);
    check(numberStanding < 60 && numberFaded > 150, "the faded hexes' numbers fade with them",
          "darkest " + numberStanding + " in empire 3's number, " + numberFaded + " in empire 0's");

    await tab.click("#legend [data-c=p3]");

    // The standings: one row per control value, most hexes first (ties in
    // the legend's order), as the known map adds up: hex i has control
    // [0, 3, 6, 15, 8, 1, 9][i % 7], a planet when i % 5 is 0, a starbase
    // when i % 7 is 0, economy 1 and victory 2.
    const standings = await tab.evaluate(() => [...document.querySelectorAll("table.standings tbody tr")]
      .map((tr) => [...tr.children].map((cell) => cell.textContent).join(" | ")));
    const wantStandings = [
      "Empire 0 | 35 | 7 | 35 | 35 | 70", "Empire 3 | 35 | 7 | 0 | 35 | 70",
      "Empire 1 | 34 | 7 | 0 | 34 | 68", "Empire 6 | 34 | 6 | 0 | 34 | 68",
      "Empire 8 | 34 | 7 | 0 | 34 | 68", "No control | 34 | 7 | 0 | 34 | 68",
      "Other value 9 | 34 | 7 | 0 | 34 | 68"];
    check(JSON.stringify(standings) === JSON.stringify(wantStandings), "the standings add up the map",
          JSON.stringify(standings));
    const standingsBeside = await tab.evaluate(() => {
      const table = document.querySelector("table.standings").getBoundingClientRect();
      const view = document.getElementById("view").getBoundingClientRect();
      return table.left >= view.right && table.right <= window.innerWidth && table.top < window.innerHeight;
    });
    check(standingsBeside, "desktop: the standings are beside the map, whole and in view");
    // A tap on a number of empire 6's row highlights its hexes: hex 2 (X 2,
    // Y 0) is empire 6's; hex 0, empire 0's, fades.
    const sixRow = await tab.evaluateHandle(() => [...document.querySelectorAll("table.standings tbody tr")]
      .find((tr) => tr.textContent.startsWith("Empire 6")).children[3]);
    await sixRow.click();
    const sixStands = await colourAt(2, 0), zeroFades = await colourAt(0, 0);
    const pressed = await tab.evaluate(() => [...document.querySelectorAll("[aria-pressed=true]")]
      .map((b) => b.getAttribute("data-c")));
    check(sixStands.every((v, k) => Math.abs(v - [0xCC, 0x66, 0x77][k]) <= 4) &&
          zeroFades.every((v, k) => Math.abs(v - (0.2 * [0x33, 0x22, 0x88][k] + 0.8 * 255)) <= 6) &&
          JSON.stringify(pressed) === JSON.stringify(["p6", "p6"]),
          "a row of the standings highlights its empire's hexes, as its legend entry shows",
          "empire 6's hex " + sixStands + ", empire 0's " + zeroFades + ", pressed " + pressed);
    await sixRow.click();

    // The address keeps the chosen hex and the view, without a history
    // entry per step: Go to fills it, a drag and a zoom change it.
    const fragment = () => new Promise((r) => setTimeout(r, 400)).then(() => tab.evaluate(() => location.hash));
    const historyBefore = await tab.evaluate(() => history.length);
    await tab.click("#gx", { clickCount: 3 });
    await tab.keyboard.type("5");
    await tab.click("#gy", { clickCount: 3 });
    await tab.keyboard.type("3");
    await tab.keyboard.press("Enter");
    const afterGoTo = await fragment();
    check(/^#x=5&y=3&zoom=[0-9.]+&view=5,3\.5$/.test(afterGoTo), "Go to fills the address's fragment", afterGoTo);
    await tab.mouse.move(600, 400);
    await tab.mouse.down();
    await tab.mouse.move(660, 430, { steps: 6 });
    await tab.mouse.up();
    await tab.mouse.wheel({ deltaY: -120 });
    const afterMoves = await fragment();
    const historyAfter = await tab.evaluate(() => history.length);
    check(afterMoves.startsWith("#x=5&y=3&zoom=") && afterMoves !== afterGoTo && historyAfter === historyBefore,
          "the fragment follows the view without a history entry per step",
          afterGoTo + " -> " + afterMoves + ", history " + historyBefore + " -> " + historyAfter);
    // That link, opened in a fresh page, shows the same hex chosen and the
    // same view.
    const link = await tab.evaluate(() => location.href);
    const here = await tab.evaluate(() => { const v = document.getElementById("map").viewBox.baseVal; return [v.x, v.y, v.width]; });
    const fresh = await browser.newPage();
    await fresh.setViewport({ width: 1400, height: 1000, deviceScaleFactor: 1 });
    await fresh.goto(link);
    const there = await fresh.evaluate(() => { const v = document.getElementById("map").viewBox.baseVal; return [v.x, v.y, v.width]; });
    const freshRow = await rowShown(fresh);
    const freshOutline = await fresh.evaluate(() => document.getElementById("sel").getAttribute("visibility"));
    check(freshRow.X === "5" && freshRow.Y === "3" && freshOutline === "visible" &&
          Math.abs(there[2] / here[2] - 1) < 0.01 && Math.abs(there[0] - here[0]) < 0.2 * 16 &&
          Math.abs(there[1] - here[1]) < 0.2 * 16,
          "a copied link reopens the same hex and view in a fresh page",
          link.slice(link.indexOf("#")) + ": view " + here + " -> " + there + ", row " + JSON.stringify(freshRow));
    // A link of a hex alone centres the map on it, as Go to does.
    await fresh.goto("file://" + page + "#x=17&y=9");
    const linked = await hexOnScreen(fresh, 17, 9);
    const linkedView = await fresh.evaluate(() => {
      const r = document.getElementById("view").getBoundingClientRect();
      return [r.left + r.width / 2, r.top + r.height / 2];
    });
    const linkedRow = await rowShown(fresh);
    check(linkedRow.ID === "197" && Math.abs(linked[0] - linkedView[0]) < 2 && Math.abs(linked[1] - linkedView[1]) < 2,
          "a link to a hex opens it chosen and centred", linked + " vs " + linkedView);
    // A view alone, as a player may cut a link short, shows that place.
    await fresh.goto("file://" + page + "#zoom=2&view=10,6");
    const viewOnly = await fresh.evaluate(() => {
      const v = document.getElementById("map").viewBox.baseVal;
      return [(v.x + v.width / 2 - 20) / 24, (v.y + v.height / 2 - 17.8564) / 27.7128, v.width];
    });
    await new Promise((r) => setTimeout(r, 400));
    const viewOnlyHash = await fresh.evaluate(() => location.hash);
    check(Math.abs(viewOnly[0] - 10) < 0.01 && Math.abs(viewOnly[1] - 6) < 0.01 && viewOnlyHash === "#zoom=2&view=10,6",
          "a link of a view alone shows that view and keeps it", viewOnly + " " + viewOnlyHash);
    // Fragments that name no hex of the map, or cannot be read, open the
    // whole map and say so.
    await fresh.goto("file://" + page);
    const wholeWidth = await viewWidth(fresh);
    const bad = [
      ["#x=500&y=3", "The link names X 500, Y 3, where this map has no hex: the whole map is shown."],
      ["#x=-4&y=2", "The link names X -4, Y 2, where this map has no hex: the whole map is shown."],
      ["#x=foo&y=1", "The link's place (#x=foo&y=1) could not be read: the whole map is shown."],
      ["#x=3", "The link's place (#x=3) could not be read: the whole map is shown."],
      ["#zoom=-2&view=1,1", "The link's place (#zoom=-2&view=1,1) could not be read: the whole map is shown."],
      ["#see-you-on-friday", "The link's place (#see-you-on-friday) could not be read: the whole map is shown."],
    ];
    for (const [hash, words] of bad) {
      await fresh.goto("about:blank");
      await fresh.goto("file://" + page + hash);
      const said = await fresh.evaluate(() => document.getElementById("note").textContent);
      const width = await viewWidth(fresh);
      const outline = await fresh.evaluate(() => document.getElementById("sel").getAttribute("visibility"));
      check(said === words && Math.abs(width - wholeWidth) < 0.01 && outline === "hidden",
            "the link " + hash + " opens the whole map with a note", said + ", view width " + width + " of " + wholeWidth);
    }
    await fresh.close();

    // Two fingers zoom on a phone.
    await tab.setViewport({ width: 390, height: 844, deviceScaleFactor: 1, hasTouch: true, isMobile: true });
    await tab.goto("file://" + page);
    const cdp = await tab.createCDPSession();
    const pinchBefore = await viewWidth(tab);
    const touch = (type, points) => cdp.send("Input.dispatchTouchEvent", {
      type, touchPoints: points.map((p, id) => ({ x: p[0], y: p[1], id })) });
    await touch("touchStart", [[150, 300], [240, 300]]);
    for (let k = 1; k <= 5; k++) await touch("touchMove", [[150 - 12 * k, 300], [240 + 12 * k, 300]]);
    await touch("touchEnd", []);
    const pinchAfter = await viewWidth(tab);
    check(pinchAfter < pinchBefore * 0.8, "two fingers spread apart zoom in", pinchBefore + " -> " + pinchAfter);
    // A tap shows a hex's row too: the hex nearest the middle of the view.
    const near = await tab.evaluate(`(() => {
      const drawn = ${DRAWN};
      const r = document.getElementById("view").getBoundingClientRect();
      let best = null, bd = Infinity;
      for (let i = 0; i < 240; i++) {
        const s = drawn(i % 20, Math.floor(i / 20));
        const d = Math.hypot(s[0] - (r.left + r.width / 2), s[1] - (r.top + r.height / 2));
        if (d < bd) { bd = d; best = [i, s[0], s[1]]; }
      }
      return best;
    })()`);
    await tab.touchscreen.tap(near[1], near[2]);
    const tapped = await rowShown(tab);
    check(tapped.ID === String(near[0]), "a tap shows the hex's row",
          "tapped hex " + near[0] + ", shown " + JSON.stringify(tapped));

    // The largest map, hexes a few pixels across: each hex's colour at its
    // centre, read from the canvas, on the whole map and after a zoom and
    // a drag (every 29th hex but those hatched, and those the rulers
    // cover); a click shows the row of the hex under the pointer.
    await tab.setViewport({ width: 1400, height: 1000, deviceScaleFactor: 1 });
    await tab.goto("file://" + largePage);
    const largeColours = async (label) => {
      const wrong = await tab.evaluate(`(() => {
        const drawn = ${DRAWN};
        const canvas = document.getElementById("hexes"), box = canvas.getBoundingClientRect();
        const image = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
        const left = document.getElementById("left").getBoundingClientRect();
        const top = document.getElementById("top").getBoundingClientRect();
        const fills = [[0x33, 0x22, 0x88], [0x11, 0x77, 0x33], [0xCC, 0x66, 0x77], [0xDD, 0xDD, 0xDD],
                       [0xAA, 0x44, 0x99], [0x88, 0xCC, 0xEE]];
        const wrong = [];
        let seen = 0;
        for (let i = 0; i < 127 * 127; i += 29) {
          if (i % 7 === 6) continue;
          const s = drawn(i % 127, Math.floor(i / 127));
          const x = Math.round(s[0] - box.left), y = Math.round(s[1] - box.top);
          if (s[0] < left.right + 2 || s[1] < top.bottom + 2 || x >= canvas.width - 2 || y >= canvas.height - 2) continue;
          seen++;
          const at = (y * canvas.width + x) * 4, want = fills[i % 7];
          const got = [image[at], image[at + 1], image[at + 2]];
          if (!got.every((v, k) => Math.abs(v - want[k]) <= 4)) wrong.push(i + ": " + got + " for " + want);
        }
        return seen > 20 ? wrong : ["only " + seen + " hexes in view"];
      })()`);
      check(wrong.length === 0, "127 x 127, " + label + ": the hexes have their colours", wrong.slice(0, 5).join("; "));
    };
    await largeColours("the whole map");
    await numbersAgainstTheEdges(tab, "127 x 127, the whole map");
    const painted = await picture(tab);
    check(await tab.evaluate(() => {
      try {
        return WebAssembly.validate(Uint8Array.from(atob(PAINTER), (c) => c.charCodeAt(0)));
      } catch {
        return false;
      }
    }), "127 x 127: the page's painter is a module the browser runs");
    await tab.mouse.move(600, 500);
    await tab.mouse.wheel({ deltaY: -240 });
    await tab.mouse.down();
    await tab.mouse.move(650, 530, { steps: 4 });
    await tab.mouse.up();
    await largeColours("zoomed in and dragged");
    await numbersAgainstTheEdges(tab, "127 x 127, zoomed in and dragged");
    const largeTarget = await hexOnScreen(tab, 60, 70);
    await tab.mouse.click(largeTarget[0], largeTarget[1]);
    const largeRow = await rowShown(tab);
    check(largeRow.ID === String(70 * 127 + 60) && largeRow.X === "60" && largeRow.Y === "70" &&
          largeRow.PoliticalControl === ["0", "3", "6", "15", "8", "1", "9"][(70 * 127 + 60) % 7],
          "127 x 127: a click shows the row of the hex under the pointer", JSON.stringify(largeRow));
    // Zoomed in until the terrain numbers show, thousands of hexes still in
    // view: empire 3's hex at X 57, Y 70 stands out, the uncontrolled one at
    // X 59 fades with its number (X 60, selected, has the outline).
    await tab.mouse.move(600, 500);
    await tab.mouse.wheel({ deltaY: -240 });
    await new Promise((r) => setTimeout(r, 100));
    const numberBefore = await darkestNumber(59, 70);
    await tab.click("[data-c=p3]");
    const largeStanding = await colourAt(57, 70), largeFaded = await colourAt(59, 70);
    check(standsAndFades(largeStanding, largeFaded, [0xDD, 0xDD, 0xDD]),
          "127 x 127: the legend highlights an empire's hexes and fades the others",
          "empire 3's hex " + largeStanding + ", the uncontrolled one " + largeFaded);
    const numberStandingLarge = await darkestNumber(57, 70), numberFadedLarge = await darkestNumber(59, 70);
    check(numberBefore < 60 && numberStandingLarge < 60 && numberFadedLarge > 150,
          "127 x 127: the terrain numbers show when zoomed in, and fade with their hexes",
          "darkest " + numberBefore + " before, " + numberStandingLarge + " in empire 3's number, " +
          numberFadedLarge + " in the uncontrolled one's");

    // Where the browser runs no painter, the canvas draws the whole map
    // itself, in the same colours.
    await tab.goto("file://" + largeWithoutPainter);
    await largeColours("without the painter, the whole map");
    // The same picture, but for the shading of some edge pixels: a hex
    // painted at another's place (columns for rows, say) moves markers by
    // thousands of pixels.
    const drawn = await picture(tab);
    let apart = 0;
    for (let i = 0; i < painted.length; i += 3) {
      if (Math.max(...[0, 1, 2].map((k) => Math.abs(painted[i + k] - drawn[i + k]))) > 64) apart++;
    }
    check(painted.length === drawn.length && apart < painted.length / 3 / 400,
          "127 x 127: the painter and the canvas draw the same picture",
          apart + " of " + painted.length / 3 + " pixels far apart");

    // On a phone the whole map's rows are a few pixels apart: row 0's number
    // is still whole, below the column numbers.
    await tab.setViewport({ width: 390, height: 844, deviceScaleFactor: 1, hasTouch: true, isMobile: true });
    await tab.goto("file://" + largePage);
    await numbersAgainstTheEdges(tab, "127 x 127 on a phone");

    // Known answers of the geometry, worked out by hand: hexes of size 16
    // (centre to corner), flat-topped, in columns 24 apart, rows 27.71
    // apart, odd columns (negative ones too) 13.86 lower. Hex (0, 0) lies
    // at (92, 73.28) in the drawing: column -3's left corner 88 to its left
    // and row -2's top in even columns 2.5 rows (69.28) above it, each with
    // a margin of 4. Each position's colour, a little above the centre,
    // and the hex that the pointer finds at a point inside it.
    const origin = [92, 73.282];
    await tab.setViewport({ width: 1400, height: 1000, deviceScaleFactor: 1 });
    await tab.goto("file://" + aroundZero);
    const known = [
      [-3, -1, -72, -13.86, [0x33, 0x22, 0x88]], [1, -2, 24, -41.57, [0x11, 0x77, 0x33]],
      [-2, 0, -48, 0, [0xDD, 0xDD, 0xDD]], [-1, 0, -24, 13.86, [0xDD, 0xDD, 0xDD]],
      [2, 1, 48, 27.71, [0xDD, 0xDD, 0xDD]],
    ];
    for (const [x, y, dx, dy, colour] of known) {
      const s = await onScreen(tab, origin[0] + dx, origin[1] + dy - 5);
      const got = pixel(await tab.screenshot({ clip: { x: Math.round(s[0]), y: Math.round(s[1]), width: 1, height: 1 } }));
      check(got.every((v, k) => Math.abs(v - colour[k]) <= 4),
            "hex X " + x + ", Y " + y + " is drawn at (" + dx + ", " + dy + ") from hex (0, 0)", "got " + got);
    }
    const points = [[-70, -20, "X -3, Y -1"], [25, -35, "X 1, Y -2"], [-24, 20, "X -1, Y 0"],
                    [3, 4, "X 0, Y 0"], [-50, -48, "X -2, Y -2"], [40, 36, "X 2, Y 1"]];
    for (const [dx, dy, want] of points) {
      const s = await onScreen(tab, origin[0] + dx, origin[1] + dy);
      await tab.mouse.move(s[0], s[1]);
      const found = await tab.evaluate(() => document.getElementById("at").textContent);
      check(found === want, "the point (" + dx + ", " + dy + ") from hex (0, 0) lies in " + want, found);
    }
    const outline = await tab.evaluate(() => document.getElementById("o").getAttribute("points"));
    check(outline === "16.00,0.00 8.00,13.86 -8.00,13.86 -16.00,0.00 -8.00,-13.86 8.00,-13.86",
          "the chosen hex's outline is the hexagon of size 16", outline);
  } catch (e) {
    check(false, "the page could be driven", e.stack);
  } finally {
    await browser.close();
  }
  console.log(failures === 0 ? "all checks passed" : failures + " checks failed");
  process.exit(failures === 0 ? 0 : 1);
})();
