(function () {
  // The map is drawn on a canvas, redrawn on every zoom and pan, from the
  // hexes in view only. A few hundred of them the canvas draws itself, a
  // path per class and a call per number. More (a large map, zoomed out)
  // are painted pixel by pixel into an image by the painter, a WebAssembly
  // module the page carries: each hex a stamp, its hexagon's coverage
  // (drawn once per zoom on a small canvas, at a quarter-pixel's choice of
  // offsets while hexes are small) filled with its control's colour, then
  // the markers and numbers as stamps too; a path through thousands of
  // hexes, or a call on the canvas for each, costs many times more, and
  // the same loops in this script run slowly until the engine has made
  // them fast. The SVG over the canvas holds the selection
  // outline, and its viewBox is the view: a point of the drawing and a
  // point of the screen map onto each other by scale and shift alone. The
  // hex under a point is the one whose centre is nearest (the pixel-to-hex
  // rule for hexagons), found among the columns and rows around the
  // point's estimate.
  var svg = document.getElementById("map"), view = document.getElementById("view");
  var canvas = document.getElementById("hexes"), ctx = canvas.getContext("2d");
  var top = document.getElementById("top"), side = document.getElementById("left");
  // The height of a ruler's number, in CSS pixels: the style sheet gives
  // .ruler its line-height in pixels.
  var RULER_LINE = parseFloat(getComputedStyle(side).lineHeight);
  var at = document.getElementById("at"), row = document.getElementById("row");
  var note = document.getElementById("note"), sel = document.getElementById("sel");
  // What the Hex panel says while no hex is chosen, as the page opens.
  var FIRST_NOTE = note.textContent;
  var ACROSS = M.x[1] - M.x[0] + 1;
  var PLACES = ACROSS * (M.y[1] - M.y[0] + 1);
  // The data holds the hexes per place of the map's box, row after row: a
  // place's number counts them from 0. Per value of a short row (a row as
  // the tool writes it), M.v has the texts it takes and each place's number
  // among them, in digits of 62, or null for X and Y, which the place says.
  var DIGITS = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  var digit = new Int8Array(128);
  for (var d = 0; d < DIGITS.length; d++) digit[DIGITS.charCodeAt(d)] = d;
  // A place's number in a store, and every place's.
  function numberAt(store, p) {
    var digits = store[1], width = digits.length / PLACES, n = 0;
    for (var k = 0; k < width; k++) n = n * 62 + digit[digits.charCodeAt(p * width + k) & 127];
    return n;
  }
  function numbers(store) {
    var out = new Int32Array(PLACES), digits = store[1];
    if (digits.length === PLACES) {
      for (var p = 0; p < PLACES; p++) out[p] = digit[digits.charCodeAt(p) & 127];
    } else if (digits) {
      for (p = 0; p < PLACES; p++) out[p] = numberAt(store, p);
    }
    return out;
  }
  function storeOf(name) { return M.v[M.r[M.n.indexOf(name)]]; }
  // Per place: the hex's kind (its class's place in M.k times 4, plus 2 for
  // a planet and 1 for a starbase), or -1 where no hex is; and its glyph's
  // place in M.g. The map's one way to the pixels: the stores above keep
  // the page small; these two bytes a place, decoded once as the page
  // opens, are all that drawing reads, here and in the painter, which is
  // given a copy of them once (it reads only its own memory, and a view
  // of that memory is lost each time the memory grows).
  var kinds = new Int8Array(PLACES), glyphs = new Int8Array(PLACES);
  (function () {
    var stores = ["PoliticalControl", "TerrainType", "PlanetType", "StarbaseType"].map(storeOf);
    var one = stores.every(function (s) { return s[1].length === PLACES; });
    // Most maps use few values of each: a digit per place, read directly.
    var control = one ? stores[0][1] : numbers(stores[0]), terrain = one ? stores[1][1] : numbers(stores[1]);
    var planet = one ? stores[2][1] : numbers(stores[2]), starbase = one ? stores[3][1] : numbers(stores[3]);
    for (var p = 0; p < PLACES; p++) {
      var c = one ? digit[control.charCodeAt(p) & 127] : control[p];
      var t = one ? digit[terrain.charCodeAt(p) & 127] : terrain[p];
      var pl = one ? digit[planet.charCodeAt(p) & 127] : planet[p];
      var sb = one ? digit[starbase.charCodeAt(p) & 127] : starbase[p];
      kinds[p] = M.p === "" || M.p.charCodeAt(p) === 49 ? M.c[c] * 4 + M.e[pl] * 2 + M.b[sb] : -1;
      glyphs[p] = M.t[t];
    }
  })();
  function placeOf(x, y) {
    var p = (y - M.y[0]) * ACROSS + x - M.x[0];
    return x < M.x[0] || x > M.x[1] || y < M.y[0] || y > M.y[1] || kinds[p] < 0 ? -1 : p;
  }
  // The rows not as the tool writes them, whole, by place: read on the
  // first look at one.
  var whole = null;
  // The row at a place, every column: M.r says, per column, which value of
  // a short row it takes, or the text it holds.
  function fields(p) {
    if (!whole) {
      whole = {};
      M.d.split(";").forEach(function (text) {
        var comma = text.indexOf(",");
        if (comma > 0) whole[text.slice(0, comma)] = text.slice(comma + 1);
      });
    }
    if (whole[p] !== undefined) return whole[p].split(",");
    var values = M.v.map(function (store, k) {
      if (store) return store[0][numberAt(store, p)];
      return String(k === M.r[M.n.indexOf("X")] ? M.x[0] + p % ACROSS : M.y[0] + Math.floor(p / ACROSS));
    });
    var id = M.r[M.n.indexOf("ID")];
    if (values[id] === "") values[id] = String(p);
    return M.r.map(function (v) { return typeof v === "number" ? values[v] : v; });
  }
  document.body.className += " scripted";
  function value(v) {
    if (v.indexOf("%") < 0) return v;
    try { return decodeURIComponent(v); } catch (e) { return v; }
  }

  // Where hexes lie, said here alone: flat-topped hexagons of size S
  // (centre to corner) in columns 1.5 S apart and rows R3 apart, odd
  // columns half a row lower, hex (0, 0)'s centre at ORIGIN in the drawing.
  // Everything else on the page that places a hex or finds one asks these
  // functions: the canvas's paths, the painter (given each column's and
  // row's place on the canvas), the rulers, the view a link names and the
  // hex under the pointer.
  var S = 16, R3 = S * Math.sqrt(3), ORIGIN = [0, 0];
  // The point of column c and row r of an even column, either a fraction
  // for a point between them; and the column and row of a point.
  function gridPoint(c, r) { return [ORIGIN[0] + 1.5 * S * c, ORIGIN[1] + R3 * r]; }
  function gridAt(px, py) { return [(px - ORIGIN[0]) / (1.5 * S), (py - ORIGIN[1]) / R3]; }
  function centre(x, y) { return gridPoint(x, y + 0.5 * (x & 1)); }
  // The drawing's box [left, top, right, bottom] that the hexes of columns
  // c0 ... c1 and rows r0 ... r1 lie in: from the top of row r0 in an even
  // column to the bottom of row r1 in an odd one.
  function extent(c0, c1, r0, r1) {
    return [gridPoint(c0, 0)[0] - S, gridPoint(0, r0 - 0.5)[1], gridPoint(c1, 0)[0] + S, gridPoint(0, r1 + 1)[1]];
  }
  // The hex whose centre is nearest the point (the pixel-to-hex rule for
  // hexagons), among the columns and rows around it; null beyond S of
  // every centre.
  function hexAt(mx, my) {
    var g = gridAt(mx, my), c = Math.round(g[0]), r = Math.round(g[1]), best = null, bd = S * S;
    for (var x = c - 1; x <= c + 1; x++) {
      for (var y = r - 1; y <= r + 1; y++) {
        var p = centre(x, y), d = (p[0] - mx) * (p[0] - mx) + (p[1] - my) * (p[1] - my);
        if (d <= bd) { bd = d; best = [x, y]; }
      }
    }
    return best;
  }
  // The chosen hex's outline: its hexagon's corners around the centre.
  document.getElementById("o").setAttribute("points", [0, 1, 2, 3, 4, 5].map(function (i) {
    return (S * Math.cos(Math.PI / 3 * i)).toFixed(2) + "," + (S * Math.sin(Math.PI / 3 * i)).toFixed(2);
  }).join(" "));
  // The drawing holds every hex with a margin of 4 around them: hex (0, 0)
  // is placed so that the topmost and leftmost hexes lie against it. Per
  // column, its first and last hex are its highest and lowest.
  var WIDTH = 0, HEIGHT = 0;
  (function () {
    var box = null;
    for (var x = M.x[0]; x <= M.x[1]; x++) {
      var first = null, last = null;
      for (var y = M.y[0]; y <= M.y[1]; y++) {
        if (kinds[(y - M.y[0]) * ACROSS + x - M.x[0]] >= 0) { if (first === null) first = y; last = y; }
      }
      if (first === null) continue;
      var a = centre(x, first), b = centre(x, last), e = [a[0] - S, a[1] - R3 / 2, b[0] + S, b[1] + R3 / 2];
      box = box ? [Math.min(box[0], e[0]), Math.min(box[1], e[1]), Math.max(box[2], e[2]), Math.max(box[3], e[3])] : e;
    }
    if (!box) return;
    ORIGIN = [4 - box[0], 4 - box[1]];
    WIDTH = box[2] - box[0] + 8; HEIGHT = box[3] - box[1] + 8;
  })();

  // Pixels as the image holds them, one 32-bit word each: red in the low
  // byte, then green, blue and alpha (the byte order of every machine a
  // browser runs on). Signed, so that the script's engine keeps them as
  // small integers.
  function rgb(r, g, b) { return 255 << 24 | b << 16 | g << 8 | r; }
  // A colour and, faded by the legend, a fifth of it over white.
  function shades(hex) {
    var c = [1, 3, 5].map(function (i) { return parseInt(hex.substr(i, 2), 16); });
    var f = c.map(function (v) { return Math.round(0.2 * v + 0.8 * 255); });
    return [rgb(c[0], c[1], c[2]), rgb(f[0], f[1], f[2])];
  }
  var WHITE = rgb(255, 255, 255);
  // Per class: [colour, faded], or for the hatched class (any control value
  // that is no empire and not 15, never to look like a hole in the map) its
  // stripes' [dark, light, faded dark, faded light].
  var fills = M.k.map(function (k) {
    if (k[1]) return shades(k[1]);
    var dark = shades("#444444");
    return [dark[0], WHITE, dark[1], WHITE];
  });
  // The painter (mappage/map_painter.c, which the page carries in base 64
  // as PAINTER), given the map and the classes' colours; or null where the
  // browser cannot run it, and then the canvas draws every view itself.
  // In its memory it keeps the classes faded in a frame (at fadedAt), the
  // places of the columns and rows in view (at columnsAt, room for MOST
  // of each, three tables), and from layoutAt on the image and the stamps
  // of the current layout.
  var painter = null, fadedAt = 0, columnsAt = 0, layoutAt = 0;
  var MOST = Math.max(ACROSS, M.y[1] - M.y[0] + 1);
  try {
    (function () {
      var text = atob(PAINTER), bytes = new Uint8Array(text.length);
      for (var i = 0; i < text.length; i++) bytes[i] = text.charCodeAt(i);
      var p = new WebAssembly.Instance(new WebAssembly.Module(bytes), {}).exports;
      var placed = p.reserve(2 * PLACES);
      if (!placed || !p.setMap(ACROSS, M.x[0], M.y[0], PLACES, placed, placed + PLACES) ||
          !p.setClasses(fills.length) || !(fadedAt = p.reserve(fills.length)) ||
          !(columnsAt = p.reserve(24 * MOST))) return;
      new Int8Array(p.memory.buffer, placed, PLACES).set(kinds);
      new Int8Array(p.memory.buffer, placed + PLACES, PLACES).set(glyphs);
      fills.forEach(function (f, c) {
        if (f.length === 2) p.setClass(c, 0, f[0], 0, f[1], 0);
        else p.setClass(c, 1, f[0], f[1], f[2], f[3]);
      });
      layoutAt = p.reserve(0);
      painter = p;
    })();
  } catch (e) {
    painter = null;
  }

  // The shapes of a hex at (cx, cy), in the drawing's units, as path text,
  // and how each is drawn on a context g: the hexagon a little smaller than
  // its place (the white between hexes is the page's own); the planet, a
  // white circle, above the centre on the left and the starbase, a black
  // square, on the right; the terrain number below the centre, so that the
  // centre shows the colour.
  var SIZE = S - 0.5, EDGE = SIZE * Math.sqrt(3) / 2, MARK = S * 0.42;
  var HEXAGON = "l" + -SIZE / 2 + " " + EDGE + "h" + -SIZE + "l" + -SIZE / 2 + " " + -EDGE +
    "l" + SIZE / 2 + " " + -EDGE + "h" + SIZE + "z";
  function hexagonPath(cx, cy) { return "M" + (cx + SIZE) + " " + cy + HEXAGON; }
  function planetPath(cx, cy) { return "M" + (cx - MARK + 3.2) + " " + (cy - MARK) + "a3.2 3.2 0 1 0 0 0.01z"; }
  function starbasePath(cx, cy) { return "M" + (cx + MARK - 3) + " " + (cy - MARK - 3) + "h6v6h-6z"; }
  function drawPlanets(g, path) {
    g.fillStyle = "#fff";
    g.fill(path);
    g.lineWidth = 0.8;
    g.strokeStyle = "#000";
    g.stroke(path);
  }
  function drawStarbases(g, path) {
    g.fillStyle = "#000";
    g.fill(path);
  }
  function numberStyle(g) {
    g.font = "bold 9px sans-serif";
    g.textAlign = "center";
    g.lineJoin = "round";
    g.lineWidth = 2;
    g.strokeStyle = "#fff";
    g.fillStyle = "#000";
  }
  function drawNumber(g, glyph, cx, cy) {
    g.strokeText(glyph, cx, cy + S * 0.62);
    g.fillText(glyph, cx, cy + S * 0.62);
  }

  // The stamps for the current zoom, on one canvas read back once: the
  // hexagon at P x P offsets a 1/P pixel apart (hexes a few pixels across
  // need the finer steps to keep the white between them even), each in a
  // square of SIDE pixels with the hex's centre at (HALF + offset, HALF +
  // offset); then the planet, the starbase and, when the numbers are drawn,
  // each glyph, for the pixel nearest the centre, each in a box just large
  // enough. A stamp's (ox, oy) is where the hex's centre pixel falls in it.
  var stampCanvas = document.createElement("canvas");
  var sctx = stampCanvas.getContext("2d", { willReadFrequently: true });
  var stampScale = -1, stampNumbers = false, P = 1, HALF = 0, SIDE = 0, stampData = null, stampWidth = 0;
  var hexStamps = [], planetStamp = null, baseStamp = null, glyphStamps = [];
  function makeStamps(k, numbers) {
    if (k === stampScale && numbers === stampNumbers) return;
    stampScale = k; stampNumbers = numbers;
    var R = S * k;
    P = R < 12 ? 4 : R < 48 ? 2 : 1;
    HALF = Math.ceil(R) + 2; SIDE = 2 * HALF;
    // Boxes in drawing units around the centre: [left, top, right, bottom].
    var cells = [], shelf = { x: 0, y: 0, h: 0 }, across = 8 * SIDE;
    function cell(box, ox, oy, paint) {
      var c = { ox: Math.ceil(-box[0] * k) + 2, oy: Math.ceil(-box[1] * k) + 2, paint: paint };
      c.w = c.ox + Math.ceil(box[2] * k) + 2; c.h = c.oy + Math.ceil(box[3] * k) + 2;
      if (shelf.x + c.w > across) { shelf.x = 0; shelf.y += shelf.h; shelf.h = 0; }
      c.x = shelf.x; c.y = shelf.y; c.fx = ox; c.fy = oy;
      shelf.x += c.w; shelf.h = Math.max(shelf.h, c.h);
      cells.push(c);
      return c;
    }
    hexStamps = []; glyphStamps = [];
    for (var j = 0; j < P; j++) {
      for (var i = 0; i < P; i++) {
        hexStamps.push(cell([-S, -S, S, S], i / P, j / P, function () {
          sctx.fillStyle = "#000";
          sctx.fill(new Path2D(hexagonPath(0, 0)));
        }));
      }
    }
    planetStamp = cell([-MARK - 4, -MARK - 4, -MARK + 4, -MARK + 4], 0, 0, function () {
      drawPlanets(sctx, new Path2D(planetPath(0, 0)));
    });
    baseStamp = cell([MARK - 3, -MARK - 3, MARK + 3, -MARK + 3], 0, 0, function () {
      drawStarbases(sctx, new Path2D(starbasePath(0, 0)));
    });
    // A glyph is one or two digits, or "?", of 9 units with a white edge
    // of 1 around it: well inside this box.
    if (numbers) {
      M.g.forEach(function (glyph) {
        glyphStamps.push(cell([-0.6 * S, 0, 0.6 * S, 0.85 * S], 0, 0, function () {
          numberStyle(sctx);
          drawNumber(sctx, glyph, 0, 0);
        }));
      });
    }
    stampCanvas.width = Math.min(across, cells.reduce(function (w, c) { return Math.max(w, c.x + c.w); }, 1));
    stampCanvas.height = shelf.y + shelf.h;
    stampWidth = stampCanvas.width;
    cells.forEach(function (c) {
      sctx.setTransform(k, 0, 0, k, c.x + c.ox + c.fx, c.y + c.oy + c.fy);
      c.paint();
    });
    stampData = sctx.getImageData(0, 0, stampCanvas.width, stampCanvas.height).data;
    hexStamps.forEach(rowsOfHexagon);
    [planetStamp, baseStamp].concat(glyphStamps).forEach(rowsOfColours);
  }
  // A hexagon stamp by rows: per row j, its whole pixels from whole[2j] up
  // to whole[2j + 1], and its partly covered ones, edges[j] up to
  // edges[j + 1] of at (their column) and cover; read from each end of the
  // row inwards, up to the first whole pixel.
  function rowsOfHexagon(c) {
    var at = [], cover = [];
    c.whole = new Int16Array(2 * SIDE); c.edges = new Int32Array(SIDE + 1);
    for (var j = 0; j < SIDE; j++) {
      var from = ((c.y + j) * stampWidth + c.x) * 4 + 3, first = 0, last = SIDE;
      while (first < SIDE && !stampData[from + 4 * first]) first++;
      var whole0 = first;
      while (whole0 < SIDE && stampData[from + 4 * whole0] < 255) whole0++;
      while (last > first && !stampData[from + 4 * (last - 1)]) last--;
      var whole1 = last;
      while (whole1 > whole0 && stampData[from + 4 * (whole1 - 1)] < 255) whole1--;
      if (whole0 >= whole1) whole0 = whole1 = last;
      c.whole[2 * j] = whole0; c.whole[2 * j + 1] = whole1;
      c.edges[j] = at.length;
      for (var i = first; i < last; i++) {
        if (i === whole0) i = whole1;
        if (i < last && stampData[from + 4 * i]) { at.push(i); cover.push(stampData[from + 4 * i]); }
      }
    }
    c.edges[SIDE] = at.length;
    c.at = new Int16Array(at); c.cover = new Uint8Array(cover);
  }
  // Any other stamp by rows: per row j, rows[j] up to rows[j + 1] of at
  // (the column of a pixel that shows), colours and cover, and the cover
  // when faded (faint).
  function rowsOfColours(c) {
    var at = [], colours = [], cover = [];
    c.rows = new Int32Array(c.h + 1);
    for (var j = 0; j < c.h; j++) {
      c.rows[j] = at.length;
      for (var i = 0; i < c.w; i++) {
        var s = ((c.y + j) * stampWidth + c.x + i) * 4;
        if (!stampData[s + 3]) continue;
        at.push(i);
        colours.push(rgb(stampData[s], stampData[s + 1], stampData[s + 2]));
        cover.push(stampData[s + 3]);
      }
    }
    c.rows[c.h] = at.length;
    c.at = new Int16Array(at); c.colours = new Int32Array(colours); c.cover = new Uint8Array(cover);
    c.faint = c.cover.map(function (a) { return Math.round(a * 0.2); });
  }

  // The legend's choice: the class whose hexes stand out, the others fade
  // with their numbers and markers.
  var highlighted = null;
  var vb = { x: 0, y: 0, w: WIDTH || 1, h: HEIGHT || 1 };
  // Whether the view is still the fitted whole map (nothing zoomed or
  // panned since): a new window size then fits the map anew.
  var fitted = true;
  function box() { return view.getBoundingClientRect(); }
  // Up to this many places in view (a small map, or a large one zoomed
  // in), the canvas draws the hexes itself: per class a path of its
  // hexagons and one of each marker, and a call per number. Beyond, they
  // are painted as stamps. Both draw the same picture, and each where it
  // is the faster by far (bench/page_speed_benchmark): a path through
  // thousands of hexes costs many times more (a zoom step of the whole
  // 127 x 127 map, 90 ms against the stamps' 15), and stamps hundreds of
  // pixels across, made anew on each zoom step, cost more than the few
  // paths (a few hexes filling the screen: 24 ms against 7).
  var FEW = 600;
  // The canvas's width and height in pixels; the hatch's period and the
  // width of its dark stripe, in pixels, and how far the stripes move with
  // the map.
  var W = 0, H = 0, STRIPES = 6, STRIPE = 2, stripeShift = 0;
  // Whether the canvas is still as clear as a new size leaves it: nothing
  // to clear before the stamps are put.
  var cleared = false;
  // Draws the view on the view's rectangle r, read before anything on the
  // page is changed: a read after a change makes the browser lay the page
  // out at once.
  function draw(r) {
    var ratio = window.devicePixelRatio || 1;
    var width = Math.round(r.width * ratio), height = Math.round(r.height * ratio);
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width; canvas.height = height;
      cleared = true;
    }
    if (!width || !height) return;
    W = width; H = height; STRIPES = Math.round(6 * ratio); STRIPE = Math.round(2 * ratio);
    var k = width / vb.w, numbers = S * r.width / vb.w >= 9;
    stripeShift = Math.round((vb.x + vb.y) * k);
    // The columns and rows in view, and a hex beyond each edge.
    var a = gridAt(vb.x, vb.y), b = gridAt(vb.x + vb.w, vb.y + vb.h);
    var c0 = Math.max(M.x[0], Math.floor(a[0]) - 1), c1 = Math.min(M.x[1], Math.ceil(b[0]) + 1);
    var r0 = Math.max(M.y[0], Math.floor(a[1]) - 1), r1 = Math.min(M.y[1], Math.ceil(b[1]) + 1);
    var faded = M.k.map(function (c) { return highlighted !== null && c[0] !== highlighted ? 1 : 0; });
    if (!painter || (c1 - c0 + 1) * (r1 - r0 + 1) <= FEW) drawPaths(k, numbers, c0, c1, r0, r1, faded);
    else paintStamps(k, numbers, c0, c1, r0, r1, faded);
  }
  // The hatch as the canvas fills it: the stamps' stripes, in the image's
  // pixels, whatever the drawing's scale k.
  var hatchTile = document.createElement("canvas");
  function hatch(k, dark) {
    hatchTile.width = hatchTile.height = STRIPES;
    var t = hatchTile.getContext("2d"), tile = t.createImageData(STRIPES, STRIPES);
    var tilePixels = new Int32Array(tile.data.buffer);
    for (var y = 0; y < STRIPES; y++) {
      for (var x = 0; x < STRIPES; x++) tilePixels[y * STRIPES + x] = (x + y) % STRIPES < STRIPE ? dark : WHITE;
    }
    t.putImageData(tile, 0, 0);
    var pattern = ctx.createPattern(hatchTile, "repeat");
    pattern.setTransform(new DOMMatrix([1 / k, 0, 0, 1 / k, (vb.x * k - stripeShift) / k, vb.y]));
    return pattern;
  }
  function drawPaths(k, numbers, c0, c1, r0, r1, faded) {
    var paths = M.k.map(function () { return { hexagons: [], planets: [], starbases: [] }; }), shown = [];
    for (var x = c0; x <= c1; x++) {
      for (var y = r0; y <= r1; y++) {
        var place = (y - M.y[0]) * ACROSS + x - M.x[0], kind = kinds[place];
        if (!(kind >= 0)) continue;
        var p = paths[kind >> 2], at = centre(x, y), cx = at[0], cy = at[1];
        p.hexagons.push(hexagonPath(cx, cy));
        // The markers and numbers from the pixel nearest the centre, as the
        // stamps are.
        cx = Math.round((cx - vb.x) * k) / k + vb.x; cy = Math.round((cy - vb.y) * k) / k + vb.y;
        if (kind & 2) p.planets.push(planetPath(cx, cy));
        if (kind & 1) p.starbases.push(starbasePath(cx, cy));
        if (numbers) shown.push([cx, cy, place, kind >> 2]);
      }
    }
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.globalAlpha = 1;
    ctx.fillStyle = "#fff";
    ctx.fillRect(0, 0, W, H);
    cleared = false;
    ctx.setTransform(k, 0, 0, k, -vb.x * k, -vb.y * k);
    paths.forEach(function (p, c) {
      ctx.globalAlpha = faded[c] ? 0.2 : 1;
      ctx.fillStyle = M.k[c][1] || hatch(k, fills[c][0]);
      ctx.fill(new Path2D(p.hexagons.join("")));
    });
    paths.forEach(function (p, c) {
      ctx.globalAlpha = faded[c] ? 0.2 : 1;
      drawPlanets(ctx, new Path2D(p.planets.join("")));
      drawStarbases(ctx, new Path2D(p.starbases.join("")));
    });
    numberStyle(ctx);
    shown.forEach(function (h) {
      ctx.globalAlpha = faded[h[3]] ? 0.2 : 1;
      drawNumber(ctx, M.g[glyphs[h[2]]], h[0], h[1]);
    });
    ctx.globalAlpha = 1;
  }

  // The stamps are painted by the painter, BAND rows of the canvas at a
  // time into one image, each band put on the canvas before the next is
  // painted in the same memory: a few hundred kilobytes in use, where an
  // image the size of the canvas needs megabytes that the system must
  // first hand out. The image and the stamps are laid out in the painter's
  // memory anew for a new canvas width or new stamps.
  var BAND = 128, image = null, laidOut = null;
  // Lays the image and the stamps out in the painter's memory; false when
  // the memory cannot grow to hold them.
  function layOut() {
    var room = true;
    // A typed array copied into the painter's memory: where it is.
    function copy(array) {
      var at = painter.reserve(array.byteLength);
      if (at) new Uint8Array(painter.memory.buffer, at, array.byteLength).set(new Uint8Array(array.buffer, array.byteOffset, array.byteLength));
      else room = false;
      return at;
    }
    painter.release(layoutAt);
    var at = painter.reserve(W * BAND * 4);
    hexStamps.forEach(function (c, n) {
      painter.hexagonStamp(n, copy(c.whole), copy(c.edges), copy(c.at), copy(c.cover));
    });
    [planetStamp, baseStamp].concat(glyphStamps).forEach(function (c, n) {
      painter.colourStamp(n, c.ox, c.oy, c.w, c.h, copy(c.rows), copy(c.at), copy(c.colours),
                          copy(c.cover), copy(c.faint));
    });
    painter.setStamps(P, HALF, SIDE);
    if (!at || !room) return false;
    image = new ImageData(new Uint8ClampedArray(painter.memory.buffer, at, W * BAND * 4), W, BAND);
    laidOut = { width: W, stamps: hexStamps };
    return true;
  }
  function paintStamps(k, numbers, c0, c1, r0, r1, faded) {
    makeStamps(k, numbers);
    if ((!laidOut || laidOut.width !== W || laidOut.stamps !== hexStamps) && !layOut()) {
      painter = null;
      drawPaths(k, numbers, c0, c1, r0, r1, faded);
      return;
    }
    new Uint8Array(painter.memory.buffer, fadedAt, faded.length).set(faded);
    // Only the part of the canvas the hexes in view cover is painted; the
    // rest is left clear.
    var e = extent(c0, c1, r0, r1);
    var x0 = Math.max(0, Math.floor((e[0] - vb.x) * k) - 2), x1 = Math.min(W, Math.ceil((e[2] - vb.x) * k) + 2);
    var y0 = Math.max(0, Math.floor((e[1] - vb.y) * k) - 2), y1 = Math.min(H, Math.ceil((e[3] - vb.y) * k) + 2);
    // Where the hexes in view lie on the canvas, for the painter: per
    // column its centres' x and its row r0's centre's y, per row how far
    // its centre lies below row r0's (the same in every column).
    var columnX = new Float64Array(painter.memory.buffer, columnsAt, c1 - c0 + 1);
    var columnY = new Float64Array(painter.memory.buffer, columnsAt + 8 * MOST, c1 - c0 + 1);
    var rowY = new Float64Array(painter.memory.buffer, columnsAt + 16 * MOST, r1 - r0 + 1);
    for (var x = c0; x <= c1; x++) {
      var p = centre(x, r0);
      columnX[x - c0] = (p[0] - vb.x) * k;
      columnY[x - c0] = (p[1] - vb.y) * k;
    }
    var first = centre(c0, r0)[1];
    for (var r = r0; r <= r1; r++) rowY[r - r0] = (centre(c0, r)[1] - first) * k;
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    if (!cleared) ctx.clearRect(0, 0, W, H);
    cleared = false;
    for (var y = y0; y < y1; y += BAND) {
      var rows = Math.min(BAND, y1 - y);
      painter.paintBand(image.data.byteOffset, W, rows, y, x0, x1, c0, c1, r0, r1, columnsAt,
                        columnsAt + 8 * MOST, columnsAt + 16 * MOST, numbers ? 1 : 0, fadedAt, STRIPES, STRIPE,
                        stripeShift);
      ctx.putImageData(image, 0, y, x0, 0, x1 - x0, rows);
    }
  }

  function show() {
    var r = box(), up = top.offsetHeight, left = side.offsetWidth;
    svg.setAttribute("viewBox", vb.x + " " + vb.y + " " + vb.w + " " + vb.h);
    draw(r);
    rulers(r, up, left);
    keepInAddress();
  }

  // The chosen hex and the view, kept in the address's fragment so that a
  // link opens the same place: "#x=41&y=87&zoom=2.5&view=40.25,86.5" is
  // the hex chosen, the zoom against the whole map (1 shows all of it) and
  // the view's centre in columns and rows; "#x=41&y=87" alone shows that
  // hex as Go to does. The fragment is replaced, not added to the
  // history, a moment after the view last moved.
  var chosen = null, addressTimer = 0;
  function rounded(v) { return String(Math.round(v * 100) / 100); }
  function fragmentText() {
    var parts = chosen ? ["x=" + chosen[0], "y=" + chosen[1]] : [];
    if (!fitted) {
      var g = gridAt(vb.x + vb.w / 2, vb.y + vb.h / 2);
      parts.push("zoom=" + rounded(wholeMapView().w / vb.w), "view=" + rounded(g[0]) + "," + rounded(g[1]));
    }
    return parts.length ? "#" + parts.join("&") : "";
  }
  function keepInAddress() {
    clearTimeout(addressTimer);
    addressTimer = setTimeout(function () {
      var text = fragmentText();
      if (text !== location.hash) history.replaceState(null, "", text || location.pathname + location.search);
    }, 200);
  }
  // Shows the place a fragment names, or the whole map with a note that
  // says why not.
  function openFragment(hash) {
    var text = hash.replace(/^#/, ""), got = {}, readable = true;
    if (!text) {
      unchoose(FIRST_NOTE);
      fit();
      return;
    }
    text.split("&").forEach(function (pair) {
      var eq = pair.indexOf("="), key = pair.slice(0, eq), v = pair.slice(eq + 1);
      if (eq < 1 || got[key] !== undefined || ["x", "y", "zoom", "view"].indexOf(key) < 0) readable = false;
      else got[key] = v;
    });
    var whole = /^-?\d{1,6}$/, number = /^-?\d{1,6}(\.\d+)?$/, view = (got.view || "").split(",");
    if ((got.x === undefined) !== (got.y === undefined) ||
        (got.x !== undefined && !(whole.test(got.x) && whole.test(got.y))) ||
        (got.zoom !== undefined && !(number.test(got.zoom) && parseFloat(got.zoom) > 0)) ||
        (got.view !== undefined && !(view.length === 2 && number.test(view[0]) && number.test(view[1])))) {
      readable = false;
    }
    var x = parseInt(got.x, 10), y = parseInt(got.y, 10);
    if (!readable || (got.x !== undefined && placeOf(x, y) < 0)) {
      fit();
      unchoose((readable ? "The link names X " + x + ", Y " + y + ", where this map has no hex"
        : "The link's place (#" + text.slice(0, 40) + ") could not be read") + ": the whole map is shown.");
      return;
    }
    var all = wholeMapView(), w = all.w, at = [all.x + all.w / 2, all.y + all.h / 2];
    if (got.zoom !== undefined) w = all.w / parseFloat(got.zoom);
    else if (got.x !== undefined) w = Math.min(all.w, 30 * S * Math.max(1, all.w / all.h));
    w = Math.max(S * 6, Math.min(w, 4 * Math.max(WIDTH, HEIGHT, S * 6)));
    if (got.view !== undefined) at = gridPoint(parseFloat(view[0]), parseFloat(view[1]));
    else if (got.x !== undefined) at = centre(x, y);
    vb = { x: at[0] - w / 2, y: at[1] - w * all.h / all.w / 2, w: w, h: w * all.h / all.w };
    fitted = got.zoom === undefined && got.x === undefined && got.view === undefined;
    if (got.x === undefined) unchoose(FIRST_NOTE);
    show();
    if (got.x !== undefined) select(x, y);
  }
  // The view of the whole map in the room the rulers leave free, centred
  // there.
  function wholeMapView() {
    var r = box(), w = WIDTH || 1, h = HEIGHT || 1, left = side.offsetWidth, up = top.offsetHeight;
    var s = Math.min((r.width - left) / w, (r.height - up) / h);
    if (!(s > 0)) s = Math.min(r.width / w, r.height / h) || 1;
    return { x: -left / s - ((r.width - left) / s - w) / 2, y: -up / s - ((r.height - up) / s - h) / 2,
             w: r.width / s, h: r.height / s };
  }
  function fit() {
    vb = wholeMapView();
    fitted = true;
    show();
  }
  function toMap(cx, cy, r) {
    return [vb.x + (cx - r.left) * vb.w / r.width, vb.y + (cy - r.top) * vb.h / r.height];
  }
  // The view zoomed by f around (cx, cy), and moved by (dx, dy), on the
  // screen's view rectangle r; then shown.
  function zoomBy(r, cx, cy, f) {
    var p = toMap(cx, cy, r), w = vb.w * f;
    w = Math.max(S * 6, Math.min(w, 4 * Math.max(WIDTH, HEIGHT, S * 6)));
    f = w / vb.w;
    vb = { x: p[0] - (p[0] - vb.x) * f, y: p[1] - (p[1] - vb.y) * f, w: vb.w * f, h: vb.h * f };
    fitted = false;
  }
  function panBy(r, dx, dy) {
    vb.x -= dx * vb.w / r.width; vb.y -= dy * vb.h / r.height;
    fitted = false;
  }
  function zoomAt(cx, cy, f) { zoomBy(box(), cx, cy, f); show(); }
  function zoomMiddle(f) { var r = box(); zoomAt(r.left + r.width / 2, r.top + r.height / 2, f); }
  function pan(dx, dy) { panBy(box(), dx, dy); show(); }
  function put(list, name, text) {
    var dt = document.createElement("dt"), dd = document.createElement("dd");
    dt.textContent = name; dd.textContent = text; list.appendChild(dt); list.appendChild(dd);
  }
  // No hex chosen: no outline, no row, and words in the Hex panel.
  function unchoose(words) {
    chosen = null;
    keepInAddress();
    sel.setAttribute("visibility", "hidden");
    row.textContent = "";
    note.textContent = words;
  }
  function select(x, y) {
    var i = placeOf(x, y);
    row.textContent = "";
    if (i < 0) {
      unchoose("No hex at X " + x + ", Y " + y + ".");
      return false;
    }
    chosen = [x, y];
    keepInAddress();
    var p = centre(x, y), f = fields(i);
    sel.setAttribute("x", p[0]); sel.setAttribute("y", p[1]);
    sel.setAttribute("visibility", "visible");
    note.textContent = "Hex at X " + x + ", Y " + y + ":";
    for (var k = 0; k < M.n.length; k++) {
      var v = value(f[k] || "");
      put(row, M.n[k], v === "" ? "NULL" : v);
    }
    return true;
  }
  function goTo(x, y) {
    var p = centre(x, y), w = Math.min(vb.w, 30 * S * Math.max(1, vb.w / vb.h)), h = w * vb.h / vb.w;
    vb = { x: p[0] - w / 2, y: p[1] - h / 2, w: w, h: h };
    fitted = false;
    show();
    return select(x, y);
  }
  // The numbers first ... last along a ruler, px apart on the screen, at
  // least 24 pixels apart, each where along() puts it (its side: "left" or
  // "top"). The ruler's spans are kept and changed, not made anew, so that
  // a step of a drag changes little of the page.
  function labels(el, first, last, px, along, side) {
    var step = 1, steps = [1, 2, 5, 10, 20, 50, 100];
    for (var i = 0; i < steps.length && steps[i] * px < 24; i++) step = steps[Math.min(i + 1, steps.length - 1)];
    var spans = el.children, k = 0;
    for (var n = Math.ceil(first / step) * step; n <= last; n += step, k++) {
      var span = spans[k] || el.appendChild(document.createElement("span")), text = String(n);
      if (span.textContent !== text) span.textContent = text;
      span.style[side] = along(n).toFixed(1) + "px";
    }
    while (spans.length > k) el.removeChild(el.lastChild);
  }
  // The column numbers sit on the map's top edge and the row numbers on its
  // left edge, or at the view's edge when the map reaches past it. The
  // column numbers lie over the row numbers, so a row's number shows only
  // where its row's centre is below them, and is nudged down, by less than
  // half a line, until it is whole.
  function rulers(r, up, left) {
    var sx = r.width / vb.w, sy = r.height / vb.h;
    var map = extent(M.x[0], M.x[1], M.y[0], M.y[1]), mapTop = (map[1] - vb.y) * sy, mapLeft = (map[0] - vb.x) * sx;
    var down = Math.max(0, Math.min(mapTop - up, r.height - up));
    var across = Math.max(0, Math.min(mapLeft - left, r.width - left));
    var below = down + up;
    // A column's number at its centres, a row's at its centre in an even
    // column.
    var a = gridAt(vb.x, vb.y + below / sy), b = gridAt(vb.x + vb.w, vb.y + vb.h);
    var pitch = [(gridPoint(1, 1)[0] - gridPoint(0, 0)[0]) * sx, (gridPoint(1, 1)[1] - gridPoint(0, 0)[1]) * sy];
    labels(top, Math.max(M.x[0], Math.ceil(a[0])), Math.min(M.x[1], Math.floor(b[0])), pitch[0],
      function (c) { return (gridPoint(c, 0)[0] - vb.x) * sx; }, "left");
    labels(side, Math.max(M.y[0], Math.ceil(a[1])), Math.min(M.y[1], Math.floor(b[1])), pitch[1],
      function (n) { return Math.max((gridPoint(0, n)[1] - vb.y) * sy, below + RULER_LINE / 2); }, "top");
    top.style.transform = "translateY(" + down.toFixed(1) + "px)";
    side.style.transform = "translateX(" + across.toFixed(1) + "px)";
  }

  var down = {}, start = null, moved = false;
  function count() { return Object.keys(down).length; }
  view.addEventListener("pointerdown", function (e) {
    view.setPointerCapture(e.pointerId);
    down[e.pointerId] = [e.clientX, e.clientY];
    if (count() === 1) { start = [e.clientX, e.clientY]; moved = false; } else moved = true;
  });
  view.addEventListener("pointermove", function (e) {
    var r = box(), m = toMap(e.clientX, e.clientY, r), h = hexAt(m[0], m[1]);
    if (e.pointerId in down) {
      var ids = Object.keys(down), was = down[e.pointerId];
      if (ids.length === 1) {
        if (Math.abs(e.clientX - start[0]) + Math.abs(e.clientY - start[1]) > 4) moved = true;
        if (moved) pan(e.clientX - was[0], e.clientY - was[1]);
        down[e.pointerId] = [e.clientX, e.clientY];
      } else if (ids.length === 2) {
        var a = down[ids[0]], b = down[ids[1]];
        var d0 = Math.hypot(a[0] - b[0], a[1] - b[1]), m0 = [(a[0] + b[0]) / 2, (a[1] + b[1]) / 2];
        down[e.pointerId] = [e.clientX, e.clientY];
        a = down[ids[0]]; b = down[ids[1]];
        var d1 = Math.hypot(a[0] - b[0], a[1] - b[1]), m1 = [(a[0] + b[0]) / 2, (a[1] + b[1]) / 2];
        panBy(r, m1[0] - m0[0], m1[1] - m0[1]);
        if (d0 > 0 && d1 > 0) zoomBy(r, m1[0], m1[1], d0 / d1);
        show();
      }
    }
    // Last, as it changes the page.
    at.textContent = h ? "X " + h[0] + ", Y " + h[1] : "";
  });
  function up(e) {
    if (!(e.pointerId in down)) return;
    if (count() === 1 && !moved) {
      var m = toMap(e.clientX, e.clientY, box()), h = hexAt(m[0], m[1]);
      if (h) select(h[0], h[1]);
    }
    delete down[e.pointerId];
  }
  view.addEventListener("pointerup", up);
  view.addEventListener("pointercancel", function (e) { delete down[e.pointerId]; });
  view.addEventListener("wheel", function (e) {
    e.preventDefault();
    zoomAt(e.clientX, e.clientY, Math.exp(Math.max(-1, Math.min(1, e.deltaY * 0.002))));
  }, { passive: false });
  view.addEventListener("keydown", function (e) {
    var r = box(), k = e.key;
    if (k === "+" || k === "=") zoomMiddle(0.8);
    else if (k === "-") zoomMiddle(1.25);
    else if (k === "ArrowLeft") pan(r.width / 8, 0);
    else if (k === "ArrowRight") pan(-r.width / 8, 0);
    else if (k === "ArrowUp") pan(0, r.height / 8);
    else if (k === "ArrowDown") pan(0, -r.height / 8);
    else return;
    e.preventDefault();
  });
  document.getElementById("zin").addEventListener("click", function () { zoomMiddle(0.8); });
  document.getElementById("zout").addEventListener("click", function () { zoomMiddle(1.25); });
  document.getElementById("fit").addEventListener("click", fit);
  document.getElementById("goto").addEventListener("submit", function (e) {
    e.preventDefault();
    var x = parseInt(document.getElementById("gx").value, 10);
    var y = parseInt(document.getElementById("gy").value, 10);
    if (isNaN(x) || isNaN(y)) { note.textContent = "Give X and Y as whole numbers."; return; }
    goTo(x, y);
  });
  // An entry of the legend, or a row of the standings, highlights its
  // class's hexes; chosen again, it shows them all.
  var classButtons = document.querySelectorAll("[data-c]");
  Array.prototype.forEach.call(classButtons, function (b) {
    b.addEventListener("click", function (e) {
      e.stopPropagation();
      var c = b.getAttribute("data-c");
      highlighted = highlighted === c ? null : c;
      Array.prototype.forEach.call(classButtons, function (o) {
        o.setAttribute("aria-pressed", o.getAttribute("data-c") === highlighted ? "true" : "false");
      });
      draw(box());
    });
  });
  // A tap anywhere on a row of the standings is one on its button.
  Array.prototype.forEach.call(document.querySelectorAll("table.standings tbody tr"), function (tr) {
    tr.addEventListener("click", function () { tr.querySelector("button").click(); });
  });
  window.addEventListener("hashchange", function () {
    if (location.hash !== fragmentText()) openFragment(location.hash);
  });
  window.addEventListener("resize", function () {
    if (fitted) { fit(); return; }
    var r = box(), cy = vb.y + vb.h / 2, h = vb.w * r.height / Math.max(r.width, 1);
    vb = { x: vb.x, y: cy - h / 2, w: vb.w, h: h };
    show();
  });
  // Where the page's style sheet stacks the legend below the map (a narrow
  // screen), the legend folds away.
  if (getComputedStyle(document.querySelector("main")).flexDirection === "column") {
    document.getElementById("legend").open = false;
    document.getElementById("standings").open = false;
  }
  fit();
  if (location.hash) openFragment(location.hash);
})();
