/* The map page's painter: the hexes in view painted as stamps, a band of
 * the canvas's rows at a time, into an image the page then puts on the
 * canvas. Built for WebAssembly (clang --target=wasm32, no C library; see
 * CMakeLists.txt) and carried by the page, so that a large map's first
 * frame runs at machine speed from the start: the same loops in the page's
 * script run for tens of milliseconds before the script engine has made
 * them fast.
 *
 * The page's script makes the stamps (it draws them on a canvas and reads
 * them back by rows) and hands them over with hexagonStamp and colourStamp;
 * it keeps the memory they and the image live in with reserve and release.
 * Where each hex lies the script says too, per frame: the painter places
 * the stamps where it is told and knows nothing of the hexes' geometry.
 * Pixels are 32-bit words: red in the low byte, then green, blue, alpha. */

typedef unsigned int u32;
typedef unsigned char u8;

#define EXPORT(name) __attribute__((export_name(#name)))
#define WHITE 0xffffffffu

static int imin(int a, int b) { return a < b ? a : b; }
static int imax(int a, int b) { return a > b ? a : b; }
/* The nearest integer, halves upwards (the script's Math.round). */
static int nearest(double v) {
  double f = __builtin_floor(v);
  return (int)(v - f >= 0.5 ? f + 1 : f);
}

/* Memory from the end of the program's own upwards, grown as needed. */
extern u8 __heap_base;
static unsigned long heapTop;
EXPORT(reserve) void* reserve(unsigned long bytes) {
  if (!heapTop) heapTop = (unsigned long)&__heap_base;
  unsigned long at = (heapTop + 7) & ~7ul, end = at + bytes;
  unsigned long have = __builtin_wasm_memory_size(0) * 65536ul;
  if (end > have && __builtin_wasm_memory_grow(
                        0, (end - have + 65535) / 65536) == (unsigned long)-1)
    return 0;
  heapTop = end;
  return (void*)at;
}
/* Gives back everything reserved since mark (a reserve's answer). */
EXPORT(release) void release(void* mark) { heapTop = (unsigned long)mark; }

/* over at coverage a (0 ... 255) on under; (v + (v >> 8)) >> 8 is v / 255
 * rounded, for v up to 255 * 255 plus the 128 added for the rounding. */
static u32 mix(u32 under, u32 over, u32 a) {
  u32 b = 255 - a;
  u32 r = (over & 255) * a + (under & 255) * b + 128;
  u32 g = (over >> 8 & 255) * a + (under >> 8 & 255) * b + 128;
  u32 u = (over >> 16 & 255) * a + (under >> 16 & 255) * b + 128;
  return 0xff000000u | (u + (u >> 8)) >> 8 << 16 | (g + (g >> 8)) >> 8 << 8 |
         (r + (r >> 8)) >> 8;
}

/* The map: its places row after row over its box, ACROSS to a row, the
 * first at column X0, row Y0; per place its kind (its class times 4, plus
 * 2 for a planet and 1 for a starbase; -1 where no hex is) and its glyph. */
static int ACROSS, X0, Y0;
static const signed char *kinds, *glyphs;
/* Per hex in a band, as the hexagons are painted: where its centre's pixel
 * is, and its place, for the markers and numbers painted after. */
static int *nearX, *nearY, *shownPlace;

EXPORT(setMap)
int setMap(int across, int x0, int y0, int places,
           const signed char* placeKinds, const signed char* placeGlyphs) {
  ACROSS = across;
  X0 = x0;
  Y0 = y0;
  kinds = placeKinds;
  glyphs = placeGlyphs;
  nearX = reserve(4ul * places);
  nearY = reserve(4ul * places);
  shownPlace = reserve(4ul * places);
  return shownPlace != 0;
}

/* Per class: its colour and faded colour, or for the hatched class its
 * stripes' dark and light, faded or not; and the plain colours at each
 * coverage on white (most pixels at a hexagon's edge lie on the white
 * between hexes). */
typedef struct {
  int striped;
  u32 fill[4];
  u32 onWhite[2][256];
} Class;
static Class* classes;
static int classCount;

EXPORT(setClasses) int setClasses(int count) {
  classes = reserve(sizeof(Class) * count);
  classCount = count;
  return classes != 0;
}
EXPORT(setClass)
void setClass(int c, int striped, u32 a, u32 b, u32 fadedA, u32 fadedB) {
  if (c < 0 || c >= classCount) return;
  Class* k = &classes[c];
  k->striped = striped;
  k->fill[0] = a;
  k->fill[1] = b;
  k->fill[2] = fadedA;
  k->fill[3] = fadedB;
  for (int fade = 0; fade < 2; fade++)
    for (u32 cover = 0; cover < 256; cover++)
      k->onWhite[fade][cover] = mix(WHITE, k->fill[2 * fade], cover);
}

/* The stamps of the current zoom. A hexagon stamp at a choice of P x P
 * offsets, each a square of SIDE pixels with the hex's centre pixel at
 * (HALF, HALF): per row j its whole pixels from whole[2j] up to
 * whole[2j + 1], and its partly covered ones, edges[j] up to edges[j + 1]
 * of at (their column) and cover. Any other stamp (planet, starbase, a
 * glyph): a box of w x h with the centre pixel at (ox, oy), per row j the
 * pixels rows[j] up to rows[j + 1] of at, colours, and cover, or faint
 * when faded. */
typedef struct {
  const short *whole, *at;
  const int* edges;
  const u8* cover;
} Hexagon;
typedef struct {
  int ox, oy, w, h;
  const int* rows;
  const short* at;
  const u32* colours;
  const u8 *cover, *faint;
} Stamp;
static int P, HALF, SIDE;
static Hexagon hexagons[16];
/* The planet, the starbase, then per glyph. */
static Stamp stamps[2 + 128];

EXPORT(setStamps) void setStamps(int p, int half, int side) {
  P = p;
  HALF = half;
  SIDE = side;
}
EXPORT(hexagonStamp)
void hexagonStamp(int n, const short* whole, const int* edges, const short* at,
                  const u8* cover) {
  if (n < 0 || n >= (int)(sizeof hexagons / sizeof *hexagons)) return;
  Hexagon* h = &hexagons[n];
  h->whole = whole;
  h->edges = edges;
  h->at = at;
  h->cover = cover;
}
EXPORT(colourStamp)
void colourStamp(int n, int ox, int oy, int w, int h, const int* rows,
                 const short* at, const u32* colours, const u8* cover,
                 const u8* faint) {
  if (n < 0 || n >= (int)(sizeof stamps / sizeof *stamps)) return;
  Stamp* s = &stamps[n];
  s->ox = ox;
  s->oy = oy;
  s->w = w;
  s->h = h;
  s->rows = rows;
  s->at = at;
  s->colours = colours;
  s->cover = cover;
  s->faint = faint;
}

/* The band: W x H pixels, its first row the canvas's row TOP. The hatch's
 * stripes: STRIPE of every STRIPES pixels along the diagonal are dark,
 * moved by SHIFT with the map. */
static u32* pixels;
static int W, H, TOP, STRIPES, STRIPE, SHIFT;

static u32 stripe(int x, int y, u32 dark, u32 light) {
  int along = (x + y + TOP + SHIFT) % STRIPES;
  return (along < 0 ? along + STRIPES : along) < STRIPE ? dark : light;
}

/* A hexagon stamp at (left, top) of the band in class k's colours. Only
 * its part inside the band is painted. */
static void paintHexagon(const Hexagon* c, int left, int top, const Class* k,
                         int fade) {
  int j1 = imin(SIDE, H - top), i0 = imax(0, -left), i1 = imin(SIDE, W - left);
  u32 colour = k->fill[2 * fade], light = k->fill[2 * fade + 1];
  const u32* onWhite = k->onWhite[fade];
  for (int j = imax(0, -top); j < j1; j++) {
    u32* row = pixels + (top + j) * W;
    int a0 = imax(c->whole[2 * j], i0), a1 = imin(c->whole[2 * j + 1], i1);
    if (k->striped) {
      for (int i = a0; i < a1; i++)
        row[left + i] = stripe(left + i, top + j, colour, light);
    } else {
      for (int i = a0; i < a1; i++) row[left + i] = colour;
    }
    for (int e = c->edges[j]; e < c->edges[j + 1]; e++) {
      int i = c->at[e];
      if (i < i0 || i >= i1) continue;
      u32 under = row[left + i];
      if (k->striped)
        row[left + i] =
            mix(under, stripe(left + i, top + j, colour, light), c->cover[e]);
      else
        row[left + i] = under == WHITE ? onWhite[c->cover[e]]
                                       : mix(under, colour, c->cover[e]);
    }
  }
}

/* A stamp of colours with its centre pixel at (x, y) of the band, faded
 * or not (a fifth of it). Only its part inside the band is painted. */
static void paintColours(const Stamp* s, int x, int y, int fade) {
  int left = x - s->ox, top = y - s->oy, j1 = imin(s->h, H - top);
  const u8* cover = fade ? s->faint : s->cover;
  for (int j = imax(0, -top); j < j1; j++) {
    u32* row = pixels + (top + j) * W;
    for (int e = s->rows[j]; e < s->rows[j + 1]; e++) {
      int i = left + s->at[e];
      u32 a = cover[e];
      if (!a || i < 0 || i >= W) continue;
      row[i] = a == 255 ? s->colours[e] : mix(row[i], s->colours[e], a);
    }
  }
}

/* Paints the band of h rows from the canvas's row top, w pixels wide, at
 * image: white from pixel x0 up to x1 of each row, then the hexes of
 * columns c0 ... c1 and rows r0 ... r1 that reach into it, then their
 * markers and, when numbers is set, their glyphs. Where they lie on the
 * canvas, in pixels: the centres of column c0 + i at columnX[i], its row
 * r0's centre at columnY[i], and its row r0 + j's rowY[j] below that (more
 * for each next row). Faded per class; the hatch's stripes (see stripe). */
EXPORT(paintBand)
void paintBand(u32* image, int w, int h, int top, int x0, int x1, int c0,
               int c1, int r0, int r1, const double* columnX,
               const double* columnY, const double* rowY, int numbers,
               const u8* faded, int stripes, int stripeWidth, int shift) {
  pixels = image;
  W = w;
  H = h;
  TOP = top;
  STRIPES = stripes;
  STRIPE = stripeWidth;
  SHIFT = shift;
  for (int row = 0; row < H; row++)
    for (int i = x0; i < x1; i++) pixels[row * W + i] = WHITE;
  int shown = 0;
  for (int x = c0; x <= c1; x++) {
    double dx = columnX[x - c0];
    int ix = (int)__builtin_floor(dx), fx = nearest((dx - ix) * P);
    if (fx == P) {
      ix++;
      fx = 0;
    }
    /* Rows lie lower and lower: the first that can reach into the band is
     * found by halving, and past the band's foot the column is done. */
    int from = r0, to = r1 + 1;
    while (from < to) {
      int mid = from + (to - from) / 2;
      if (columnY[x - c0] + rowY[mid - r0] + HALF + 2 < top)
        from = mid + 1;
      else
        to = mid;
    }
    for (int y = from; y <= r1; y++) {
      double dy = columnY[x - c0] + rowY[y - r0];
      int iy = (int)__builtin_floor(dy), fy = nearest((dy - iy) * P);
      if (fy == P) {
        iy++;
        fy = 0;
      }
      int hexTop = iy - HALF - top;
      if (hexTop >= H) break;
      if (hexTop + SIDE <= 0) continue;
      int place = (y - Y0) * ACROSS + x - X0, kind = kinds[place];
      if (kind < 0) continue;
      paintHexagon(&hexagons[fy * P + fx], ix - HALF, hexTop,
                   &classes[kind >> 2], faded[kind >> 2]);
      if ((kind & 3) || numbers) {
        nearX[shown] = nearest(dx);
        nearY[shown] = nearest(dy) - top;
        shownPlace[shown++] = place;
      }
    }
  }
  for (int n = 0; n < shown; n++) {
    int kind = kinds[shownPlace[n]], fade = faded[kind >> 2];
    if (kind & 2) paintColours(&stamps[0], nearX[n], nearY[n], fade);
    if (kind & 1) paintColours(&stamps[1], nearX[n], nearY[n], fade);
  }
  for (int n = 0; numbers && n < shown; n++) {
    int place = shownPlace[n];
    paintColours(&stamps[2 + glyphs[place]], nearX[n], nearY[n],
                 faded[kinds[place] >> 2]);
  }
}
