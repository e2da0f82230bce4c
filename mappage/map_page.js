(function () {
  // The map is drawn on a canvas, redrawn on every zoom and pan: per
  // control class three paths made once (its hexagons, its planets, its
  // starbases), and the terrain numbers of the hexes in view, so that a
  // large map costs little more than a small one (each call on a canvas
  // costs far more than a point of a path). The SVG over it holds the selection
  // outline, and its viewBox is the view: a point of the drawing and a point
  // of the screen map onto each other by scale and shift alone. The hex
  // under a point is the one whose centre is nearest (the pixel-to-hex rule
  // for hexagons), found among the columns and rows around the point's
  // estimate.
  var svg = document.getElementById("map"), view = document.getElementById("view");
  var canvas = document.getElementById("hexes"), ctx = canvas.getContext("2d");
  var top = document.getElementById("top"), side = document.getElementById("left");
  var at = document.getElementById("at"), row = document.getElementById("row");
  var note = document.getElementById("note"), sel = document.getElementById("sel");
  var S = M.s, R3 = S * Math.sqrt(3), rows = M.d ? M.d.split(";") : [];
  // The row at each X and Y (both -128 ... 127), or -1.
  var byXY = new Int32Array(256 * 256).fill(-1);
  function place(x, y) { return x >= -128 && x < 128 && y >= -128 && y < 128 ? (x + 128) * 256 + y + 128 : -1; }
  // Where the columns the drawing reads stand in a whole row and in a short
  // one.
  var inWhole = ["ID", "X", "Y", "PoliticalControl", "TerrainType", "PlanetType", "StarbaseType"]
    .map(function (name) { return M.n.indexOf(name); });
  var inShort = inWhole.map(function (k) { return M.r[k]; });
  // Per hex, in the rows' order: X, Y, its control's class and fill, its
  // terrain number, and whether it shows a planet or a starbase marker.
  var hexes = rows.map(function (text, i) {
    var f = text.split(","), k = f.length === M.n.length ? inWhole : inShort;
    var x = +f[k[1]], y = +f[k[2]], control = M.c[f[k[3]]] || ["pu", ""];
    byXY[place(x, y)] = i;
    return { x: x, y: y, c: control[0], fill: control[1], glyph: M.g[f[k[4]]] || "?",
             planet: f[k[5]] !== "0", starbase: f[k[6]] !== "0" };
  });
  // The classes, each with its hexes' paths: one call on the canvas draws
  // each, where a call per hex would cost far more. The hexagons a little
  // smaller than their place: the white between them is the page's own, no
  // outline to draw. The markers sit above the centre, left and right.
  var classes = [], byClass = {};
  var r0 = S - 0.5, e = Math.round(r0 * Math.sqrt(3) / 2 * 100) / 100, m = S * 0.42;
  var hexagon = "l-" + r0 / 2 + " " + e + "h-" + r0 + "l-" + r0 / 2 + " -" + e + "l" + r0 / 2 + " -" + e + "h" + r0 + "z";
  var round = function (v) { return Math.round(v * 10) / 10; };
  hexes.forEach(function (h) {
    var g = byClass[h.c];
    if (!g) classes.push(g = byClass[h.c] = { c: h.c, fill: h.fill, hexagons: [], planets: [], starbases: [] });
    var p = centre(h.x, h.y);
    g.hexagons.push("M" + round(p[0] + r0) + " " + round(p[1]) + hexagon);
    if (h.planet) g.planets.push("M" + round(p[0] - m + 3.2) + " " + round(p[1] - m) + "a3.2 3.2 0 1 0 0 0.01z");
    if (h.starbase) g.starbases.push("M" + round(p[0] + m - 3) + " " + round(p[1] - m - 3) + "h6v6h-6z");
  });
  classes.forEach(function (g) {
    g.hexagons = new Path2D(g.hexagons.join(""));
    g.planets = new Path2D(g.planets.join(""));
    g.starbases = new Path2D(g.starbases.join(""));
  });
  // A row of the data, widened to every column: M.r says, per column, which
  // value of a short row it takes, or the text it holds (a short row is one
  // as the tool writes it); the ID left out is the row's position.
  function fields(i) {
    var f = rows[i].split(",");
    if (f[0] === "") f[0] = String(i);
    if (f.length === M.n.length) return f;
    return M.r.map(function (v) { return typeof v === "number" ? f[v] : v; });
  }
  document.body.className += " scripted";
  function value(v) {
    if (v.indexOf("%") < 0) return v;
    try { return decodeURIComponent(v); } catch (e) { return v; }
  }
  function centre(x, y) { return [M.o[0] + 1.5 * S * x, M.o[1] + R3 * (y + 0.5 * (x & 1))]; }
  // Any control value that is no empire and not 15: hatched, so that it
  // never looks like a hole in the map.
  function hatch() {
    var tile = document.createElement("canvas");
    tile.width = tile.height = 6;
    var t = tile.getContext("2d");
    t.fillStyle = "#fff"; t.fillRect(0, 0, 6, 6);
    t.fillStyle = "#444"; t.fillRect(0, 0, 2, 6);
    var pattern = ctx.createPattern(tile, "repeat");
    if (pattern.setTransform) pattern.setTransform(new DOMMatrix().rotate(45));
    return pattern;
  }
  var hatched = hatch();
  // The legend's choice: the class whose hexes stand out, the others fade
  // with their numbers and markers.
  var highlighted = null;
  var vb = { x: 0, y: 0, w: M.w || 1, h: M.h || 1 };
  // Whether the view is still the fitted whole map (nothing zoomed or
  // panned since): a new window size then fits the map anew.
  var fitted = true;
  function box() { return view.getBoundingClientRect(); }
  function draw() {
    var r = box(), ratio = window.devicePixelRatio || 1;
    var width = Math.round(r.width * ratio), height = Math.round(r.height * ratio);
    if (canvas.width !== width || canvas.height !== height) { canvas.width = width; canvas.height = height; }
    var scale = r.width / vb.w;
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.clearRect(0, 0, width, height);
    ctx.setTransform(scale * ratio, 0, 0, scale * ratio, -vb.x * scale * ratio, -vb.y * scale * ratio);
    classes.forEach(function (g) {
      ctx.globalAlpha = highlighted && g.c !== highlighted ? 0.2 : 1;
      ctx.fillStyle = g.c === "pu" ? hatched : g.fill;
      ctx.fill(g.hexagons);
      ctx.fillStyle = "#fff";
      ctx.fill(g.planets);
      ctx.lineWidth = 0.8;
      ctx.strokeStyle = "#000";
      ctx.stroke(g.planets);
      ctx.fillStyle = "#000";
      ctx.fill(g.starbases);
    });
    // The terrain numbers below the centre, so that the centre shows the
    // colour; those too small to read are not drawn. Only the hexes in
    // view, and a hex beyond each edge.
    if (S * scale >= 9) {
      var x0 = vb.x - 2 * S, x1 = vb.x + vb.w + 2 * S, y0 = vb.y - 2 * S, y1 = vb.y + vb.h + 2 * S;
      ctx.font = "bold 9px sans-serif";
      ctx.textAlign = "center";
      ctx.lineJoin = "round";
      ctx.lineWidth = 2;
      ctx.strokeStyle = "#fff";
      ctx.fillStyle = "#000";
      hexes.forEach(function (h) {
        var p = centre(h.x, h.y);
        if (p[0] < x0 || p[0] > x1 || p[1] < y0 || p[1] > y1) return;
        ctx.globalAlpha = highlighted && h.c !== highlighted ? 0.2 : 1;
        ctx.strokeText(h.glyph, p[0], p[1] + S * 0.62);
        ctx.fillText(h.glyph, p[0], p[1] + S * 0.62);
      });
    }
    ctx.globalAlpha = 1;
  }
  function show() {
    svg.setAttribute("viewBox", vb.x + " " + vb.y + " " + vb.w + " " + vb.h);
    draw();
    rulers();
  }
  // The whole map in the room the rulers leave free, centred there.
  function fit() {
    var r = box(), w = M.w || 1, h = M.h || 1, left = side.offsetWidth, up = top.offsetHeight;
    var s = Math.min((r.width - left) / w, (r.height - up) / h);
    if (!(s > 0)) s = Math.min(r.width / w, r.height / h) || 1;
    vb = { x: -left / s - ((r.width - left) / s - w) / 2, y: -up / s - ((r.height - up) / s - h) / 2,
           w: r.width / s, h: r.height / s };
    fitted = true;
    show();
  }
  function toMap(cx, cy) {
    var r = box();
    return [vb.x + (cx - r.left) * vb.w / r.width, vb.y + (cy - r.top) * vb.h / r.height];
  }
  function zoomAt(cx, cy, f) {
    var p = toMap(cx, cy), w = vb.w * f;
    w = Math.max(S * 6, Math.min(w, 4 * Math.max(M.w, M.h, S * 6)));
    f = w / vb.w;
    vb = { x: p[0] - (p[0] - vb.x) * f, y: p[1] - (p[1] - vb.y) * f, w: vb.w * f, h: vb.h * f };
    fitted = false;
    show();
  }
  function zoomMiddle(f) { var r = box(); zoomAt(r.left + r.width / 2, r.top + r.height / 2, f); }
  function pan(dx, dy) {
    var r = box();
    vb.x -= dx * vb.w / r.width; vb.y -= dy * vb.h / r.height;
    fitted = false;
    show();
  }
  function hexAt(mx, my) {
    var c = Math.round((mx - M.o[0]) / (1.5 * S)), best = null, bd = S * S;
    for (var x = c - 1; x <= c + 1; x++) {
      var y0 = Math.round((my - M.o[1]) / R3 - 0.5 * (x & 1));
      for (var y = y0 - 1; y <= y0 + 1; y++) {
        var p = centre(x, y), d = (p[0] - mx) * (p[0] - mx) + (p[1] - my) * (p[1] - my);
        if (d <= bd) { bd = d; best = [x, y]; }
      }
    }
    return best;
  }
  function put(list, name, text) {
    var dt = document.createElement("dt"), dd = document.createElement("dd");
    dt.textContent = name; dd.textContent = text; list.appendChild(dt); list.appendChild(dd);
  }
  function select(x, y) {
    var i = place(x, y) < 0 ? -1 : byXY[place(x, y)];
    row.textContent = "";
    if (i < 0) {
      sel.setAttribute("visibility", "hidden");
      note.textContent = "No hex at X " + x + ", Y " + y + ".";
      return false;
    }
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
  function labels(el, first, last, px, along, text) {
    var step = 1, steps = [1, 2, 5, 10, 20, 50, 100];
    for (var i = 0; i < steps.length && steps[i] * px < 24; i++) step = steps[Math.min(i + 1, steps.length - 1)];
    var html = "";
    for (var n = Math.ceil(first / step) * step; n <= last; n += step) {
      var pos = along(n);
      html += "<span style=\"" + text + pos.toFixed(1) + "px\">" + n + "</span>";
    }
    el.innerHTML = html;
  }
  // The column numbers sit on the map's top edge and the row numbers on its
  // left edge, or at the view's edge when the map reaches past it.
  function rulers() {
    var r = box(), sx = r.width / vb.w, sy = r.height / vb.h;
    labels(top, Math.max(M.x[0], Math.ceil((vb.x - M.o[0]) / (1.5 * S))),
      Math.min(M.x[1], Math.floor((vb.x + vb.w - M.o[0]) / (1.5 * S))),
      1.5 * S * sx, function (c) { return (M.o[0] + 1.5 * S * c - vb.x) * sx; }, "left:");
    labels(side, Math.max(M.y[0], Math.ceil((vb.y - M.o[1]) / R3)),
      Math.min(M.y[1], Math.floor((vb.y + vb.h - M.o[1]) / R3)),
      R3 * sy, function (n) { return (M.o[1] + R3 * n - vb.y) * sy; }, "top:");
    var mapTop = (M.o[1] + R3 * (M.y[0] - 0.5) - vb.y) * sy, mapLeft = (M.o[0] + 1.5 * S * M.x[0] - S - vb.x) * sx;
    var down = Math.max(0, Math.min(mapTop - top.offsetHeight, r.height - top.offsetHeight));
    var across = Math.max(0, Math.min(mapLeft - side.offsetWidth, r.width - side.offsetWidth));
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
    var m = toMap(e.clientX, e.clientY), h = hexAt(m[0], m[1]);
    at.textContent = h ? "X " + h[0] + ", Y " + h[1] : "";
    if (!(e.pointerId in down)) return;
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
      pan(m1[0] - m0[0], m1[1] - m0[1]);
      if (d0 > 0 && d1 > 0) zoomAt(m1[0], m1[1], d0 / d1);
    }
  });
  function up(e) {
    if (!(e.pointerId in down)) return;
    if (count() === 1 && !moved) {
      var m = toMap(e.clientX, e.clientY), h = hexAt(m[0], m[1]);
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
  Array.prototype.forEach.call(document.querySelectorAll("[data-c]"), function (b) {
    b.addEventListener("click", function () {
      var on = highlighted === b.getAttribute("data-c");
      highlighted = on ? null : b.getAttribute("data-c");
      Array.prototype.forEach.call(document.querySelectorAll("[data-c]"), function (o) {
        o.setAttribute("aria-pressed", !on && o === b ? "true" : "false");
      });
      draw();
    });
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
  }
  fit();
})();
