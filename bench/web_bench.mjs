// Figures of the browser build in headless Chromium (software rendering): the first picture, the
// bytes loaded, the browser's processor share, the step pacing seen on the canvas and key to canvas.
// Prints figures only; nothing here passes or fails on a time.
//   node web_bench.mjs SITE_DIR [BENCH_SITE_DIR]   (VORNIX_BENCH_SUMMARY=file appends "key value" lines)
// BENCH_SITE_DIR (default bench-site beside SITE_DIR, target vornix_bench_site) holds the same page
// with the benchmark's program, which lays level 7 at once: without it, level 7 is left out.
import { readFileSync, readdirSync, appendFileSync, existsSync } from 'node:fs';
import { resolve, join } from 'node:path';
import { gzipSync } from 'node:zlib';
import { serveSite, siteFiles, launchBrowser, readCanvas, waitFor, sleep } from '../tests/web/web_lib.mjs';

const site = resolve(process.argv[2] || 'build/web-release/site');
const benchSite = resolve(process.argv[3] || join(site, '..', 'bench-site'));
const cpuSeconds = Number(process.env.VORNIX_BENCH_WEB_SECONDS || 10);
const summaryFile = process.env.VORNIX_BENCH_SUMMARY;
setTimeout(() => {
  console.log('web: the benchmark took more than 300 s; stopped');
  process.exit(1);
}, 300000).unref();

function summary(key, value) {
  if (summaryFile && Number.isFinite(value)) appendFileSync(summaryFile, `${key} ${value}\n`);
}
const percentile = (values, p) => {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted.length ? sorted[Math.min(sorted.length - 1, Math.ceil((p / 100) * sorted.length) - 1)] : NaN;
};
const ms = (v) => (Number.isFinite(v) ? v.toFixed(1) : 'n/a');

// Processor time of every process below this one (the browser that playwright started and its
// helpers), in clock ticks (100 a second), in all and by the kind of process.
const ticksPerSecond = 100;
function treeTicks() {
  const parent = new Map(), ticks = new Map();
  for (const name of readdirSync('/proc')) {
    if (!/^[0-9]+$/.test(name)) continue;
    try {
      const stat = readFileSync(`/proc/${name}/stat`, 'latin1');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      parent.set(Number(name), Number(fields[1]));
      ticks.set(Number(name), Number(fields[11]) + Number(fields[12]));
    } catch {
      // The process ended while we looked.
    }
  }
  const byPid = new Map();
  for (const [pid, t] of ticks) {
    if (pid === process.pid) continue;
    for (let p = pid; p > 1; p = parent.get(p) || 0) {
      if (p === process.pid) {
        byPid.set(pid, t);
        break;
      }
    }
  }
  return byPid;
}
function processKind(pid) {
  try {
    // Chromium's helpers rewrite their command line as one string, so the kind is searched for.
    const type = /--type=([a-z-]+)/.exec(readFileSync(`/proc/${pid}/cmdline`, 'latin1'));
    return type ? type[1] : 'browser';
  } catch {
    return 'ended';
  }
}
async function cpuShare(seconds, during) {
  const before = treeTicks(), started = Date.now();
  await Promise.all([sleep(seconds * 1000), during ? during(started + seconds * 1000) : null]);
  const elapsed = (Date.now() - started) / 1000, after = treeTicks();
  const kinds = {};
  let total = 0;
  for (const [pid, t] of after) {
    const used = t - (before.get(pid) || 0);
    total += used;
    kinds[processKind(pid)] = (kinds[processKind(pid)] || 0) + used;
  }
  const share = (t) => (100 * t) / ticksPerSecond / elapsed;
  const parts = Object.entries(kinds).filter(([, t]) => t > 0).map(([k, t]) => `${k} ${share(t).toFixed(1)}`).join(', ');
  return { total: share(total), parts, seconds: elapsed };
}

// Watches regions of the canvas from the page itself: at each write of the program's to the canvas,
// every animation frame, and once more right after the frame's callbacks (a task posted from the
// frame), notes when a region's pixels change.
// Key presses are stamped as the window sees them, before the program's own handler.
function pageWatcher() {
  const watch = { regions: {}, changes: {}, keys: [], frames: [] };
  window.vornixWatch = watch;
  // The event's own stamp: when the browser took the key in, before any queue of the page's.
  window.addEventListener('keydown', (event) => watch.keys.push(event.timeStamp), true);
  const channel = new MessageChannel();
  let copy = null;
  const look = () => {
    const screen = document.getElementById('screen');
    if (!screen || !screen.width) return;
    copy = copy || document.createElement('canvas').getContext('2d', { willReadFrequently: true });
    for (const [name, r] of Object.entries(watch.regions)) {
      copy.canvas.width = r.width;
      copy.canvas.height = r.height;
      copy.drawImage(screen, r.x, r.y, r.width, r.height, 0, 0, r.width, r.height);
      const data = copy.getImageData(0, 0, r.width, r.height).data;
      let hash = 0;
      for (let i = 0; i < data.length; i += 4) hash = (Math.imul(hash, 31) + data[i] * 65536 + data[i + 1] * 256 + data[i + 2]) | 0;
      if (r.hash !== undefined && hash !== r.hash) (watch.changes[name] = watch.changes[name] || []).push(performance.now());
      r.hash = hash;
    }
  };
  channel.port1.onmessage = look;
  // A write to the canvas is looked at as it happens, so a change is stamped at its own put.
  const put = CanvasRenderingContext2D.prototype.putImageData;
  watch.puts = 0;
  watch.framesAsked = 0;
  CanvasRenderingContext2D.prototype.putImageData = function (...args) {
    put.apply(this, args);
    if (this.canvas.id !== 'screen') return;
    ++watch.puts;
    if (watch.running) look();
  };
  // The timers that the program sets: each wakes the page.
  watch.timers = 0;
  const setTimer = window.setTimeout.bind(window);
  window.setTimeout = (...args) => {
    ++watch.timers;
    return setTimer(...args);
  };
  // The animation frames that the program asks for: each costs the browser a frame's work.
  const ask = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (callback) => {
    ++watch.framesAsked;
    return ask(callback);
  };
  const frame = (time) => {
    watch.frames.push(time);
    if (watch.frames.length > 2000) watch.frames.splice(0, 1000);
    look();
    channel.port2.postMessage(0);
    if (Object.keys(watch.regions).length) ask(frame);
    else watch.running = false;
  };
  watch.start = () => {
    if (!watch.running) {
      watch.running = true;
      ask(frame);
    }
  };
}

// The list is up when rank 1 stands in grey and the status text in its colour (picture at scale 1).
function listIsUp() {
  const screen = document.getElementById('screen');
  if (!screen || screen.width < 800) return false;
  const context = document.createElement('canvas').getContext('2d');
  context.canvas.width = 800;
  context.canvas.height = 600;
  context.drawImage(screen, 0, 0);
  const has = (r, g, b, x0, y0, x1, y1) => {
    const data = context.getImageData(x0, y0, x1 - x0 + 1, y1 - y0 + 1).data;
    for (let i = 0; i < data.length; i += 4) if (data[i] === r && data[i + 1] === g && data[i + 2] === b) return true;
    return false;
  };
  return has(128, 128, 128, 340, 105, 369, 120) && has(153, 151, 151, 140, 34, 260, 50);
}

const server = await serveSite(site);
const benchServer = existsSync(join(benchSite, 'vornix.wasm')) ? await serveSite(benchSite) : null;
const browser = await launchBrowser();
const viewport = { width: 800, height: 600 };
let failed = false;

async function freshPage() {
  const context = await browser.newContext({ viewport, deviceScaleFactor: 1 });
  const page = await context.newPage();
  await page.addInitScript(pageWatcher);
  return { context, page };
}
async function openList() {
  const opened = await freshPage();
  await opened.page.goto(server.url);
  await waitFor('the score list', 20, () => opened.page.evaluate(listIsUp));
  return opened;
}

try {
  // The figures assume a quiet machine: say how busy it was.
  const load = readFileSync('/proc/loadavg', 'latin1').split(' ').slice(0, 3).join(' ');
  console.log(`web: Chromium ${browser.version()} headless, software rendering, ${viewport.width} x ${viewport.height}; load average ${load}`);

  // What the site holds and what one visit loads.
  const files = siteFiles(site).sort((a, b) => b.bytes - a.bytes);
  // Beside each size, what a host that compresses its answers would send.
  let packedBytes = 0;
  for (const f of files) {
    const packed = gzipSync(readFileSync(join(site, f.path)), { level: 9 }).length;
    packedBytes += packed;
    console.log(`web: file ${f.path.padEnd(24)} ${String(f.bytes).padStart(9)} bytes, ${String(packed).padStart(7)} gzipped`);
  }
  const bitmapBytes = files.filter((f) => f.path.endsWith('.bmp')).reduce((s, f) => s + f.bytes, 0);

  // The first picture: from the navigation's start until the canvas shows the list, in a fresh
  // profile each time (nothing cached).
  const firstPictures = [];
  let loadedBytes = 0;
  for (let run = 0; run < 5; ++run) {
    server.served.length = 0;
    const { context, page } = await freshPage();
    await page.addInitScript(() => {
      const poll = () => {
        if (window.vornixFirstPicture) return;
        try {
          if (listIsUpInPage()) {
            window.vornixFirstPicture = performance.now();
            return;
          }
        } catch {
          // The canvas is not there yet.
        }
        requestAnimationFrame(poll);
      };
      requestAnimationFrame(poll);
    });
    await page.addInitScript(`window.listIsUpInPage = ${listIsUp.toString()};`);
    await page.goto(server.url);
    firstPictures.push(await waitFor('the first picture', 20, () => page.evaluate(() => window.vornixFirstPicture)));
    await sleep(300);
    loadedBytes = server.served.reduce((s, r) => s + r.bytes, 0);
    await context.close();
  }
  const firstMedian = percentile(firstPictures, 50);
  console.log(`web: first picture after navigation: median ${ms(firstMedian)} ms, worst ${ms(Math.max(...firstPictures))} ms of 5 fresh visits (target <= 1000 ms)`);
  console.log(`web: bytes loaded by one visit: ${loadedBytes} (${(loadedBytes / 1048576).toFixed(2)} MB, target <= 2.5 MB), of which bitmaps ${bitmapBytes}; all files gzipped ${packedBytes}`);
  summary('web_first_picture_ms', firstMedian);
  summary('web_bytes', loadedBytes);

  // Processor share of all the browser's processes.
  {
    const blank = await browser.newContext({ viewport });
    await (await blank.newPage()).goto('about:blank');
    await sleep(3000);
    const idle = await cpuShare(cpuSeconds);
    await blank.close();

    const floorContext = await browser.newContext({ viewport });
    const floorPage = await floorContext.newPage();
    await floorPage.setContent(`<body style="margin:0;background:#000"><canvas id="c" width="800" height="600"></canvas><script>
      const g = document.getElementById('c').getContext('2d'), cell = g.createImageData(16, 16);
      let n = 0;
      const frame = () => {
        ++n;
        for (let i = 0; i < cell.data.length; i += 4) cell.data.set([n & 255, 90, 40, 255], i);
        g.putImageData(cell, 23 + 16 * (n % 47), 105);
        requestAnimationFrame(frame);
      };
      requestAnimationFrame(frame);</script></body>`);
    await sleep(1000);
    const floor = await cpuShare(cpuSeconds);
    await floorContext.close();

    const listed = await openList();
    const counts = () => listed.page.evaluate(() => [window.vornixWatch.puts, window.vornixWatch.framesAsked, window.vornixWatch.timers]);
    const rates = (a, b, share) => {
      const rate = (i) => ((b[i] - a[i]) / share.seconds).toFixed(1);
      return `a second: ${rate(0)} puts, ${rate(1)} animation frames asked, ${rate(2)} timers set`;
    };
    await sleep(1000);
    const listCounts = await counts();
    const list = await cpuShare(cpuSeconds);
    const listRates = rates(listCounts, await counts(), list);

    // Level 1 with Shift held: the snake walks squares of eight cells in the middle of the field,
    // turned by the clock, so nothing but the game runs in the page.
    const game = listed.page;
    await game.keyboard.press('Space');
    await game.keyboard.down('Shift');
    const stepMs = 125;
    const turns = ['ArrowRight', 'ArrowDown', 'ArrowLeft', 'ArrowUp'];
    await sleep(4 * stepMs);
    const playCounts = await counts();
    const playing = await cpuShare(cpuSeconds, async (until) => {
      for (let i = 0; Date.now() < until - 8 * stepMs; ++i) {
        await sleep(8 * stepMs);
        await game.keyboard.press(turns[i % 4]);
      }
    });
    const playRates = rates(playCounts, await counts(), playing);
    const stillPlaying = !(await game.evaluate(listIsUp));
    await game.keyboard.up('Shift');
    await listed.context.close();

    // Level 7 with Shift held (a step every 12 ms): the benchmark's program lays it at start-up and
    // steers the snake round a loop after every step, as the window benchmark does on Linux; it
    // says on the console each time it lays the level, so a game that ended is seen.
    let seven = null, sevenRates = '', sevenLaid = 0;
    if (benchServer) {
      const { context, page } = await freshPage();
      page.on('console', (message) => {
        if (message.text().startsWith('level 7 laid')) ++sevenLaid;
      });
      await page.goto(benchServer.url);
      await waitFor('level 7', 20, () => sevenLaid > 0 && page.evaluate(() => window.vornixWatch.puts > 0));
      await page.keyboard.down('Shift');
      await sleep(1000);
      const laidBefore = sevenLaid, sevenCounts = await page.evaluate(() => [window.vornixWatch.puts, window.vornixWatch.framesAsked, window.vornixWatch.timers]);
      seven = await cpuShare(cpuSeconds);
      const sevenAfter = await page.evaluate(() => [window.vornixWatch.puts, window.vornixWatch.framesAsked, window.vornixWatch.timers]);
      sevenRates = rates(sevenCounts, sevenAfter, seven);
      seven.restarts = sevenLaid - laidBefore;
      await page.keyboard.up('Shift');
      await context.close();
    }

    console.log(`web: browser cpu, all processes, % of a core: blank page ${idle.total.toFixed(1)} (${idle.parts})`);
    console.log(`web: browser cpu, all processes, % of a core: floor, one 16 x 16 cell put 60 times a second ${floor.total.toFixed(1)} (${floor.parts})`);
    console.log(`web: browser cpu, all processes, % of a core: score list ${list.total.toFixed(1)} (${list.parts}; target <= 1); ${listRates}`);
    console.log(`web: browser cpu, all processes, % of a core: level 1 + Shift ${playing.total.toFixed(1)} (${playing.parts})${stillPlaying ? '' : ' (the game ended during the run)'}; ${playRates}`);
    if (seven) {
      const ended = seven.restarts ? ` (the game ended ${seven.restarts} times and was laid again)` : '';
      console.log(`web: browser cpu, all processes, % of a core: level 7 + Shift ${seven.total.toFixed(1)} (${seven.parts})${ended} (target <= 10; floor ${floor.total.toFixed(1)}, level 1 + Shift ${playing.total.toFixed(1)}); ${sevenRates}`);
      summary('web_cpu_l7s', seven.total);
    } else {
      console.log(`web: no benchmark site in ${benchSite} (build target vornix_bench_site); level 7 + Shift is left out`);
    }
    summary('web_cpu_blank', idle.total);
    summary('web_cpu_floor', floor.total);
    summary('web_cpu_list', list.total);
    summary('web_cpu_l1s', playing.total);
  }

  // Step pacing as the canvas shows it: the snake heads up column 23 from row 14, and each step
  // changes that column. Frames quantise what the canvas can show, so this is rough.
  for (const [shift, delay] of [[false, 250], [true, 125]]) {
    const { context, page } = await openList();
    const lates = [];
    for (let game = 0; game < 3; ++game) {
      await page.evaluate(() => {
        const w = window.vornixWatch;
        w.changes = {};
        w.regions = { column: { x: 23 + 16 * 23, y: 105, width: 16, height: 16 * 15 } };
        w.start();
      });
      if (shift) await page.keyboard.down('Shift');
      await page.keyboard.press('Space');
      await waitFor('the list after the snake hits the edge', 20, () => page.evaluate(listIsUp), 100);
      if (shift) await page.keyboard.up('Shift');
      const changes = await page.evaluate(() => window.vornixWatch.changes.column || []);
      // The first change is the game's first picture, the last is the list coming back.
      if (process.env.VORNIX_BENCH_WEB_DEBUG) console.log(changes.map((t, i) => (i ? (t - changes[i - 1]).toFixed(1) : '-')).join(' '));
      // Changes closer than 20 ms belong to one picture put in pieces; the first two pictures are
      // the game's start, the last one the list coming back.
      const pictures = changes.filter((t, i) => i === 0 || t - changes[i - 1] > 20);
      for (let i = 3; i < pictures.length - 1; ++i) lates.push(pictures[i] - pictures[i - 1] - delay);
      await sleep(300);
    }
    const refresh = await page.evaluate(() => {
      const f = window.vornixWatch.frames;
      const gaps = f.slice(1).map((t, i) => t - f[i]).sort((a, b) => a - b);
      return gaps[Math.floor(gaps.length / 2)];
    });
    await context.close();
    const label = shift ? 'level 1 + Shift (125 ms)' : 'level 1 (250 ms)';
    console.log(`web: step pacing on the canvas, ${label}: ${lates.length} steps, interval minus delay median ${ms(percentile(lates, 50))} ms, p99 ${ms(percentile(lates, 99))} ms, least ${ms(Math.min(...lates))} ms (frames every ${ms(refresh)} ms)`);
    summary(shift ? 'web_pacing_l1s_p99_ms' : 'web_pacing_l1_p99_ms', percentile(lates, 99));
  }

  // Key to canvas: a letter typed in the list changes the name in the status text.
  {
    const { context, page } = await openList();
    await page.evaluate(() => {
      const w = window.vornixWatch;
      w.regions = { name: { x: 140, y: 34, width: 121, height: 17 } };
      w.start();
    });
    await page.keyboard.press('Backspace');
    await sleep(300);
    const latencies = [];
    for (let i = 0; i < 60; ++i) {
      const key = i % 12 === 11 ? 'Backspace' : 'KeyA';
      const before = await page.evaluate(() => ({ keys: window.vornixWatch.keys.length, changes: (window.vornixWatch.changes.name || []).length }));
      await page.keyboard.press(key);
      const latency = await waitFor('the name to change', 5, () => page.evaluate((b) => {
        const w = window.vornixWatch, changes = w.changes.name || [];
        return w.keys.length > b.keys && changes.length > b.changes ? changes[b.changes] - w.keys[b.keys] : null;
      }, before), 5).catch(() => null);
      if (latency !== null) latencies.push(latency);
      await sleep(40 + (i * 7) % 30);
    }
    await context.close();
    console.log(`web: key to canvas: ${latencies.length} keys, median ${ms(percentile(latencies, 50))} ms, p99 ${ms(percentile(latencies, 99))} ms, worst ${ms(Math.max(...latencies))} ms (target p99 <= one refresh + 2 ms)`);
    summary('web_key_p99_ms', percentile(latencies, 99));
  }
} catch (error) {
  console.log(`web: the benchmark stopped: ${error.message}`);
  failed = true;
} finally {
  await browser.close();
  await server.close();
  if (benchServer) await benchServer.close();
}
process.exit(failed ? 1 : 0);
