// What the browser test and the browser figures share: the site on a local port, Debian's Chromium
// through playwright-core, the canvas read back as pixels, and the sprites found on it.
import { createServer } from 'node:http';
import { readFileSync, statSync, readdirSync } from 'node:fs';
import { join, extname, normalize, sep } from 'node:path';
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);
const { chromium } = require('playwright-core');

export const chromiumPath = process.env.VORNIX_CHROMIUM || '/usr/bin/chromium';
export const scoresKey = 'vornix/textures/scores.asc';

export const FIELD_LEFT = 23, FIELD_TOP = 105, CELL = 16, COLUMNS = 47, ROWS = 29;
export const HEADINGS = ['Up', 'Right', 'Down', 'Left'];
const OPPOSITE = { Up: 'Down', Down: 'Up', Left: 'Right', Right: 'Left' };
const STEP = { Up: [0, -1], Down: [0, 1], Left: [-1, 0], Right: [1, 0] };

const contentTypes = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.bmp': 'image/bmp', '.png': 'image/png',
};

// A static host for the site folder on a free port of the loopback; it counts what each path sent.
export async function serveSite(root) {
  const served = [];
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    const file = normalize(join(root, path.endsWith('/') ? path + 'index.html' : path));
    let body;
    try {
      if (!file.startsWith(root + sep) || !statSync(file).isFile()) throw new Error('outside');
      body = readFileSync(file);
    } catch {
      response.writeHead(404, { 'Content-Type': 'text/plain' });
      response.end('not found');
      return;
    }
    served.push({ path, bytes: body.length });
    response.writeHead(200, {
      'Content-Type': contentTypes[extname(file)] || 'application/octet-stream',
      'Content-Length': body.length,
      'Cache-Control': 'no-cache',
    });
    response.end(body);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {
    url: `http://127.0.0.1:${server.address().port}/`,
    served,
    close: () => new Promise((resolve) => server.close(resolve)),
  };
}

export function siteFiles(root, under = '') {
  const files = [];
  for (const entry of readdirSync(join(root, under), { withFileTypes: true })) {
    const path = under ? `${under}/${entry.name}` : entry.name;
    if (entry.isDirectory()) files.push(...siteFiles(root, path));
    else files.push({ path, bytes: statSync(join(root, path)).size });
  }
  return files;
}

// Headless Debian Chromium with its own throw-away profile; nothing reaches out to the network.
export async function launchBrowser(extraArgs = []) {
  return chromium.launch({
    executablePath: chromiumPath,
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
      '--disable-sync', '--no-first-run', '--disable-default-apps', '--disable-extensions', ...extraArgs],
  });
}

// The canvas's backing store, as RGBA bytes; the copy is drawn from the canvas itself, so the page's
// bar and notes above it are not in it.
export async function readCanvas(page, region) {
  const result = await page.evaluate((wanted) => {
    const screen = document.getElementById('screen');
    const r = wanted || { x: 0, y: 0, width: screen.width, height: screen.height };
    const copy = document.createElement('canvas');
    copy.width = r.width;
    copy.height = r.height;
    const context = copy.getContext('2d');
    context.drawImage(screen, r.x, r.y, r.width, r.height, 0, 0, r.width, r.height);
    const bytes = context.getImageData(0, 0, r.width, r.height).data;
    let text = '';
    for (let at = 0; at < bytes.length; at += 8192) {
      text += String.fromCharCode.apply(null, bytes.subarray(at, at + 8192));
    }
    return { width: r.width, height: r.height, canvasWidth: screen.width, canvasHeight: screen.height, data: btoa(text) };
  }, region || null);
  return new Picture(result.width, result.height, Buffer.from(result.data, 'base64'), result);
}

export class Picture {
  constructor(width, height, rgba, info = {}) {
    this.width = width;
    this.height = height;
    this.rgba = rgba;
    this.canvasWidth = info.canvasWidth || width;
    this.canvasHeight = info.canvasHeight || height;
  }
  pixel(x, y) {
    const at = (y * this.width + x) * 4;
    return [this.rgba[at], this.rgba[at + 1], this.rgba[at + 2]];
  }
  // Whether any pixel in the inclusive rectangle passes the test.
  any(x0, y0, x1, y1, test) {
    for (let y = Math.max(0, y0); y <= Math.min(this.height - 1, y1); ++y) {
      for (let x = Math.max(0, x0); x <= Math.min(this.width - 1, x1); ++x) {
        if (test(this.pixel(x, y))) return true;
      }
    }
    return false;
  }
  has(colour, x0, y0, x1, y1) {
    return this.any(x0, y0, x1, y1, (p) => p[0] === colour[0] && p[1] === colour[1] && p[2] === colour[2]);
  }
  region(x0, y0, x1, y1) {
    const rows = [];
    for (let y = y0; y <= y1; ++y) rows.push(this.rgba.subarray((y * this.width + x0) * 4, (y * this.width + x1 + 1) * 4));
    return Buffer.concat(rows.map((r) => Buffer.from(r)));
  }
  sameAs(other, x0, y0, x1, y1) {
    return this.region(x0, y0, x1, y1).equals(other.region(x0, y0, x1, y1));
  }
}

// Where the 800 x 600 picture stands on a canvas: as large as fits with its shape kept, centred.
export function pictureArea(width, height) {
  let w, h;
  if (width * 600 <= height * 800) [w, h] = [width, Math.floor((width * 600) / 800)];
  else [w, h] = [Math.floor((height * 800) / 600), height];
  return { x: Math.floor((width - w) / 2), y: Math.floor((height - h) / 2), width: w, height: h };
}

// An uncompressed 24-bit Windows bitmap, as RGBA rows top first.
export function readBmp24(path) {
  const data = readFileSync(path);
  const offset = data.readUInt32LE(10), width = data.readInt32LE(18), height = data.readInt32LE(22);
  if (data.readUInt16LE(28) !== 24) throw new Error(`${path}: not a 24-bit bitmap`);
  const stride = Math.floor((width * 3 + 3) / 4) * 4, rows = Math.abs(height);
  const rgba = Buffer.alloc(width * rows * 4);
  for (let y = 0; y < rows; ++y) {
    const source = offset + (height < 0 ? y : rows - 1 - y) * stride;
    for (let x = 0; x < width; ++x) {
      const to = (y * width + x) * 4;
      rgba[to] = data[source + x * 3 + 2];
      rgba[to + 1] = data[source + x * 3 + 1];
      rgba[to + 2] = data[source + x * 3];
      rgba[to + 3] = 255;
    }
  }
  return new Picture(width, rows, rgba);
}

// The heads, the body and the first item of the atlas, as RGB strings of 16 x 16 cells.
export function atlasSprites(iconsPath) {
  const atlas = readBmp24(iconsPath);
  const cell = (x) => {
    const bytes = [];
    for (let y = 0; y < CELL; ++y) for (let i = 0; i < CELL; ++i) bytes.push(...atlas.pixel(x + i, y));
    return bytes;
  };
  return { heads: HEADINGS.map((_, i) => cell(CELL * i)), body: cell(4 * CELL), item: cell(5 * CELL) };
}

// Puts a scanner into the page that finds the head, the body and the items on a canvas that shows
// the picture at scale 1 (an 800 x 600 viewport).
export async function installScanner(page, sprites) {
  await page.evaluate((s) => {
    const key = (bytes) => bytes.join(',');
    const kinds = new Map();
    s.heads.forEach((sprite, i) => kinds.set(key(sprite), ['head', i]));
    kinds.set(key(s.body), ['body', -1]);
    kinds.set(key(s.item), ['item', -1]);
    window.vornixTestScan = () => {
      const screen = document.getElementById('screen');
      const copy = document.createElement('canvas');
      copy.width = 47 * 16;
      copy.height = 29 * 16;
      const context = copy.getContext('2d');
      context.drawImage(screen, 23, 105, copy.width, copy.height, 0, 0, copy.width, copy.height);
      const data = context.getImageData(0, 0, copy.width, copy.height).data;
      const found = { head: null, body: [], items: [] };
      for (let cy = 0; cy < 29; ++cy) {
        for (let cx = 0; cx < 47; ++cx) {
          const bytes = [];
          for (let y = 0; y < 16; ++y) {
            const row = ((cy * 16 + y) * copy.width + cx * 16) * 4;
            for (let x = 0; x < 16; ++x) bytes.push(data[row + 4 * x], data[row + 4 * x + 1], data[row + 4 * x + 2]);
          }
          const kind = kinds.get(key(bytes));
          if (!kind) continue;
          if (kind[0] === 'head') found.head = [cx, cy, kind[1]];
          else if (kind[0] === 'body') found.body.push([cx, cy]);
          else found.items.push([cx, cy]);
        }
      }
      return found;
    };
  }, sprites);
}

export async function scan(page) {
  const found = await page.evaluate(() => window.vornixTestScan());
  if (found.head) found.head = [found.head[0], found.head[1], HEADINGS[found.head[2]]];
  return found;
}

// The heading that brings the head nearer the target without dying on the next step.
export function choose(head, body, target) {
  const [hx, hy, heading] = head;
  const taken = new Set(body.map(([x, y]) => `${x},${y}`));
  let options = [];
  if (target) {
    const dx = target[0] - hx, dy = target[1] - hy;
    const closer = [['Right', dx > 0], ['Left', dx < 0], ['Down', dy > 0], ['Up', dy < 0]].filter((c) => c[1]).map((c) => c[0]);
    const along = (d) => Math.abs(d === 'Left' || d === 'Right' ? dx : dy);
    closer.sort((a, b) => (a !== heading) - (b !== heading) || along(b) - along(a));
    options = closer;
  }
  options = [...options, heading, ...['Up', 'Left', 'Down', 'Right'].filter((d) => d !== heading)];
  for (const d of options) {
    if (d === OPPOSITE[heading]) continue;
    const nx = hx + STEP[d][0], ny = hy + STEP[d][1];
    if (nx >= 0 && nx < COLUMNS && ny >= 0 && ny < ROWS && !taken.has(`${nx},${ny}`)) return d;
  }
  return heading;
}

// Steers toward the nearest item until `wanted` items are eaten; returns what it saw.
export async function playFor(page, wanted, seconds) {
  const deadline = Date.now() + seconds * 1000;
  let pickups = 0, lastHead = null, lastItems = [], turnedAt = null;
  const headings = new Set();
  while (Date.now() < deadline) {
    const { head, body, items } = await scan(page);
    if (!head) {
      await new Promise((resolve) => setTimeout(resolve, 10));
      continue;
    }
    headings.add(head[2]);
    const moved = !lastHead || head[0] !== lastHead[0] || head[1] !== lastHead[1];
    if (moved && lastItems.some(([x, y]) => x === head[0] && y === head[1])) {
      ++pickups;
      if (pickups >= wanted) return { pickups, headings };
    }
    lastItems = items;
    lastHead = head;
    if (!moved || (turnedAt && turnedAt[0] === head[0] && turnedAt[1] === head[1])) continue;
    const target = items.length
      ? items.reduce((a, b) => (Math.abs(a[0] - head[0]) + Math.abs(a[1] - head[1]) <= Math.abs(b[0] - head[0]) + Math.abs(b[1] - head[1]) ? a : b))
      : null;
    const direction = choose(head, body, target);
    if (direction !== head[2]) {
      await page.keyboard.press(`Arrow${direction}`);
      turnedAt = head;
    }
  }
  return { pickups, headings };
}

// Polls `probe` (an async function) until it returns a true value or the limit passes.
export async function waitFor(what, seconds, probe, every = 50) {
  const deadline = Date.now() + seconds * 1000;
  for (;;) {
    const value = await probe();
    if (value) return value;
    if (Date.now() > deadline) throw new Error(`waited ${seconds} s for ${what}`);
    await new Promise((resolve) => setTimeout(resolve, every));
  }
}

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
