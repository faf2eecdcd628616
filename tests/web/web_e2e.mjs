// End-to-end test of the browser build: the real site in headless Chromium, played with keys,
// judged by the canvas's pixels, the bytes in the page's storage and the page's own elements.
//   node web_e2e.mjs SITE_DIR [ARTIFACTS_DIR]
import { mkdirSync, writeFileSync, readFileSync, mkdtempSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { tmpdir } from 'node:os';
import {
  serveSite, launchBrowser, readCanvas, pictureArea, atlasSprites, installScanner, scan, playFor, waitFor,
  scoresKey, sleep,
} from './web_lib.mjs';

const site = resolve(process.argv[2] || 'build/web-release/site');
const artifacts = resolve(process.argv[3] || mkdtempSync(join(tmpdir(), 'vornix-web-e2e.')));
mkdirSync(artifacts, { recursive: true });

// Every wait below has its own limit; this one ends the whole test before CTest's.
setTimeout(() => {
  console.log('FAIL: the whole test took more than 240 s');
  process.exit(1);
}, 240000).unref();

const grey = [128, 128, 128], red = [255, 0, 0], white = [255, 255, 255], statusGrey = [153, 151, 151];
let failures = 0;
function check(what, ok) {
  console.log(`${ok ? 'ok  ' : 'FAIL'}  ${what}`);
  if (!ok) ++failures;
}

// How many of the 28 list rows show a grey rank at x 340..369 (picture at scale 1).
const greyRanks = (p) => Array.from({ length: 28 }, (_, i) => p.has(grey, 340, 105 + 16 * i, 369, 120 + 16 * i)).filter(Boolean).length;
const listShows = async (page) => {
  const p = await readCanvas(page);
  return p.width === 800 && greyRanks(p) === 28 && p.has(statusGrey, 140, 34, 260, 50) ? p : null;
};
// The name column of list row i: a row is judged against the same row in another state, so that
// no letter needs reading.
const nameCell = (p, i) => p.region(370, 105 + 16 * i, 449, 120 + 16 * i);

function scoreFileProblems(text, name) {
  const problems = [];
  const lines = text.split('\r\n');
  if (lines.length !== 203 || !text.endsWith('\r\n0\r\n\r\n')) problems.push(`${lines.length - 1} CR LF lines, not 202 ending with 0 and an empty line`);
  if (/[\r\n]/.test(lines.join(''))) problems.push('a line ends without CR LF');
  const top = new RegExp(`^([0-9]+) ${name}$`).exec(lines[0]);
  if (!top || Number(top[1]) < 2) problems.push(`first line ${JSON.stringify(lines[0])} is not a score of 2 or more for ${name}`);
  if (lines.slice(1, 200).some((line) => line !== '1 ostrel')) problems.push('lines 2 to 200 are not the default entries');
  return problems;
}

const stored = (page) => page.evaluate((key) => localStorage.getItem(key), scoresKey);
const visible = (page, id) => page.evaluate((i) => !document.getElementById(i).hidden, id);

const server = await serveSite(site);
const browser = await launchBrowser();
const sprites = atlasSprites(join(site, 'textures/icons.bmp'));

async function newPage(context, problems) {
  const page = await context.newPage();
  page.on('console', (m) => { if (m.type() === 'error' || m.type() === 'warning') problems.push(`console ${m.type()}: ${m.text()}`); });
  page.on('pageerror', (e) => problems.push(`uncaught: ${e.message}`));
  return page;
}

try {
  console.log('== The list, a name, a game at 800 x 600');
  const context = await browser.newContext({ viewport: { width: 800, height: 600 }, deviceScaleFactor: 1, acceptDownloads: true });
  const problems = [];
  const page = await newPage(context, problems);
  await page.goto(server.url);
  const list = await waitFor('the score list', 20, () => listShows(page));
  writeFileSync(join(artifacts, 'list-800x600.rgba'), list.rgba);
  check('all 28 ranks of the score list stand in grey at x 340', greyRanks(list) === 28);
  check('the start prompt stands in red left and right of the list',
    list.has(red, 150, 250, 200, 326) && list.has(red, 600, 250, 650, 326));
  check('no row is highlighted before the first game', !list.has(white, 340, 105, 500, 120));
  check('the title is "Vornix"', (await page.title()) === 'Vornix');
  check('the bar offers "Download scores" and "Load scores"',
    (await page.textContent('#download-scores')) === 'Download scores' && (await page.textContent('label[for=load-scores]')) === 'Load scores');
  check('nothing is stored before the first save', (await stored(page)) === null);

  // Backspace empties the name; Shift makes a capital.
  await page.keyboard.press('Backspace');
  for (const key of ['Shift+KeyT', 'KeyE', 'KeyS', 'KeyT', 'KeyE', 'KeyR']) await page.keyboard.press(key);
  await waitFor('the typed name in the status line', 5, async () => !(await readCanvas(page)).sameAs(list, 140, 34, 260, 50));
  check('the typed name replaces the default in the status line', true);

  await installScanner(page, sprites);
  await page.keyboard.press('Space');
  const start = await waitFor('the snake after Space', 5, async () => (await scan(page)).head);
  check(`after Space the head stands in the start column heading up (at ${start.join(' ')})`,
    start[0] === 23 && start[1] <= 14 && start[2] === 'Up');
  check('no score list while a game runs', greyRanks(await readCanvas(page)) < 28);
  const played = await playFor(page, 2, 90);
  check(`the player ate two items (${played.pickups}) steering with the arrows`, played.pickups === 2);
  check(`a head facing another way than up was seen (${[...played.headings].join(' ')})`,
    [...played.headings].some((h) => h !== 'Up'));
  // No more keys: the snake runs into the edge; the list comes back with the new entry in white.
  const over = await waitFor('the list after the game', 40, async () => {
    const p = await readCanvas(page);
    return greyRanks(p) === 27 && p.has(white, 340, 105, 500, 120) ? p : null;
  });
  check('the finished game is highlighted in white in the first row', over.has(white, 340, 105, 500, 120));
  await page.screenshot({ path: join(artifacts, 'over-800x600.png') });

  console.log('== A reload keeps the game; Escape ends Vornix with the scores saved');
  await page.reload();
  const reloaded = await waitFor('the list after a reload', 20, () => listShows(page));
  const afterReload = (await stored(page)) || '';
  const problemsReload = scoreFileProblems(afterReload, 'Tester');
  check(`leaving the page stored the score file: 202 CR LF lines, Tester on top${problemsReload.length ? ' — ' + problemsReload.join('; ') : ''}`,
    problemsReload.length === 0);
  check('after the reload the first row holds a new name, the second still the default',
    !nameCell(reloaded, 0).equals(nameCell(list, 0)) && nameCell(reloaded, 1).equals(nameCell(list, 1)));

  const download = page.waitForEvent('download', { timeout: 5000 });
  await page.click('#download-scores');
  const file = await download;
  const downloaded = readFileSync(await file.path());
  check(`"Download scores" gives scores.asc with the stored bytes (${file.suggestedFilename()}, ${downloaded.length} bytes)`,
    file.suggestedFilename() === 'scores.asc' && downloaded.equals(Buffer.from(afterReload, 'latin1')));
  check('the link does not keep the keyboard', await page.evaluate(() => document.activeElement === document.body));

  await page.keyboard.press('Escape');
  await waitFor('the ended state', 10, () => visible(page, 'ended'));
  check('Escape shows "Vornix has ended." and "Start again"',
    (await page.textContent('#ended')).includes('Vornix has ended.') && (await page.textContent('#start-again')) === 'Start again');
  const afterEscape = (await stored(page)) || '';
  check('Escape saved the same table', afterEscape === afterReload);
  await page.click('#start-again');
  await waitFor('the list after "Start again"', 20, async () => !(await visible(page, 'ended')) && listShows(page));
  check('"Start again" starts Vornix again', true);

  console.log('== A score file taken back');
  const loaded = ['900 Loaded', '800 Loaded', '700 Loaded', ...Array(197).fill('1 ostrel'), '0', ''].join('\r\n') + '\r\n';
  const loadedPath = join(artifacts, 'loaded-scores.asc');
  writeFileSync(loadedPath, loaded, 'latin1');
  const navigation = page.waitForEvent('load', { timeout: 15000 });
  await page.setInputFiles('#load-scores', loadedPath);
  await navigation;
  const withLoaded = await waitFor('the list after "Load scores"', 20, () => listShows(page));
  check('the stored table is the loaded file', ((await stored(page)) || '').startsWith('900 Loaded\r\n800 Loaded\r\n'));
  check('the list shows the loaded names in rows 1 to 3 (not the first list\'s, not Tester), the defaults below',
    [0, 1, 2].every((i) => !nameCell(withLoaded, i).equals(nameCell(list, i))) &&
    !nameCell(withLoaded, 0).equals(nameCell(reloaded, 0)) && nameCell(withLoaded, 3).equals(nameCell(list, 3)));
  check(`the page logged no error or warning${problems.length ? ': ' + problems.join(' | ') : ''}`, problems.length === 0);
  await context.close();

  console.log('== Other shapes: 1024 x 768, 1920 x 1080, and 800 x 600 at two device pixels a pixel');
  for (const [cssWidth, cssHeight, ratio] of [[1024, 768, 1], [1920, 1080, 1], [800, 600, 2]]) {
    const width = cssWidth * ratio, height = cssHeight * ratio, shape = `${cssWidth} x ${cssHeight} x ${ratio}`;
    const other = await browser.newContext({ viewport: { width: cssWidth, height: cssHeight }, deviceScaleFactor: ratio });
    const otherPage = await other.newPage();
    await otherPage.goto(server.url);
    const area = pictureArea(width, height);
    const sx = (x) => area.x + Math.floor(((x + 0.5) * area.width) / 800), sy = (y) => area.y + Math.floor(((y + 0.5) * area.height) / 600);
    const shot = await waitFor(`the list at ${shape}`, 20, async () => {
      const p = await readCanvas(otherPage);
      return p.width === width && p.height === height &&
        p.any(sx(340), sy(105), sx(369), sy(120), (c) => c[0] > 90 && Math.abs(c[0] - c[1]) < 6 && Math.abs(c[1] - c[2]) < 6) ? p : null;
    });
    // A pixel of the picture whose neighbours share its colour keeps that colour at its scaled place.
    let checked = 0, wrong = 0, lit = 0;
    for (let y = 1; y < 599; ++y) {
      for (let x = 1; x < 799; ++x) {
        const c = list.pixel(x, y);
        let flat = true;
        for (let dy = -1; dy <= 1 && flat; ++dy) for (let dx = -1; dx <= 1 && flat; ++dx) flat = list.pixel(x + dx, y + dy).every((v, k) => v === c[k]);
        if (!flat) continue;
        ++checked;
        if (!shot.pixel(sx(x), sy(y)).every((v, k) => v === c[k])) ++wrong;
      }
    }
    for (let y = 0; y < height; y += 2) {
      for (let x = 0; x < width; x += 2) {
        const inside = x >= area.x && x < area.x + area.width && y >= area.y && y < area.y + area.height;
        if (!inside && shot.pixel(x, y).some((v) => v !== 0)) ++lit;
      }
    }
    check(`at ${shape} the canvas holds ${width} x ${height} device pixels, the picture ${area.width} x ${area.height} centred: ${wrong} of ${checked} flat pixels changed colour, ${lit} lit pixels around it`,
      checked > 120000 && wrong === 0 && lit === 0);
    if (ratio === 2) {
      // A whole factor: every pixel of the picture is an exact 2 x 2 block.
      let blocks = 0;
      for (let y = 0; y < 600; ++y) {
        for (let x = 0; x < 800; ++x) {
          const c = list.pixel(x, y);
          if ([0, 1].every((dy) => [0, 1].every((dx) => shot.pixel(2 * x + dx, 2 * y + dy).every((v, k) => v === c[k])))) ++blocks;
        }
      }
      check(`at two device pixels a pixel each picture pixel is an exact 2 x 2 block (${blocks} of 480000)`, blocks === 480000);
    }
    if (width === 1920) {
      await otherPage.keyboard.press('Space');
      await sleep(1200);
      await otherPage.screenshot({ path: join(artifacts, 'browser-1920x1080.png') });
    }
    await other.close();
  }

  console.log('== A storage that throws');
  const refused = await browser.newContext({ viewport: { width: 800, height: 600 }, deviceScaleFactor: 1 });
  await refused.addInitScript(() => {
    Storage.prototype.setItem = function () {
      throw new DOMException('The quota has been exceeded.', 'QuotaExceededError');
    };
  });
  const refusedProblems = [];
  const refusedPage = await newPage(refused, refusedProblems);
  await refusedPage.goto(server.url);
  await waitFor('the list with storage refused', 20, () => listShows(refusedPage));
  await installScanner(refusedPage, sprites);
  await refusedPage.keyboard.press('Space');
  const first = await waitFor('the snake', 5, async () => (await scan(refusedPage)).head);
  await waitFor('the snake to move', 5, async () => {
    const head = (await scan(refusedPage)).head;
    return head && head[1] < first[1];
  });
  check('the game plays with storage refused', true);
  await refusedPage.keyboard.press('Escape');
  await waitFor('the ended state with storage refused', 10, () => visible(refusedPage, 'ended'));
  check('the note says once that scores will not be kept',
    (await visible(refusedPage, 'storage-note')) &&
    (await refusedPage.textContent('#storage-note')) === 'Scores will not be kept: this browser refuses to store them.');
  check(`nothing was thrown past the program${refusedProblems.some((p) => p.startsWith('uncaught')) ? ': ' + refusedProblems.join(' | ') : ''}`,
    !refusedProblems.some((p) => p.startsWith('uncaught')));
  await refused.close();
} catch (error) {
  console.log(`FAIL  ${error.message}`);
  ++failures;
} finally {
  await browser.close();
  await server.close();
}

console.log(`artifacts in ${artifacts}`);
if (failures) {
  console.log(`${failures} check(s) failed`);
  process.exit(1);
}
console.log('all browser checks passed');
