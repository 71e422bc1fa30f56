// The page in a real browser: Debian's chromium, headless, driven by puppeteer-core, against
// the built page served on 127.0.0.1.
//   node tests/web/browser_test.mjs build-web build/torvane-headless
// Checks: frames appear; the menu at a known moment is pixel for pixel the headless runner's
// dump of it; keys take the menu into a round and Escape, Y out of it; recordings go both ways
// between the page and the native runner; a setting changed and a name entered for a high
// score are still there in a new tab after the old one died; no console errors. Prints the
// figures.
import {execFileSync, spawnSync} from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import puppeteer from 'puppeteer-core';

import {decodePng} from './png.mjs';
import {screenOf, showsBluishText} from './screens.mjs';

const site = path.resolve(process.argv[2] || 'build-web');
const runner = path.resolve(process.argv[3] || 'build/torvane-headless');
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'torvane-browser-'));
const kMenuMs = 4100;  // the menu's bar is mid-swing: any other frame differs

const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm'};
const server = http.createServer((request, response) => {
  let file = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
  if (file === '/') file = '/index.html';
  fs.readFile(path.join(site, path.normalize(file)), (error, bytes) => {
    if (error) return response.writeHead(404).end();
    response.writeHead(200, {'content-type': types[path.extname(file)] || 'application/octet-stream'}).end(bytes);
  });
});
await new Promise((done) => server.listen(0, '127.0.0.1', done));
const origin = `http://127.0.0.1:${server.address().port}`;

const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  userDataDir: path.join(work, 'profile'),
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
         '--disable-component-update', '--disable-sync', '--force-color-profile=srgb'],
});
const consoleErrors = [];
let passed = 0, failed = 0;
function check(ok, what, detail = '') {
  if (ok) ++passed, console.log(`ok   ${what}`);
  else ++failed, console.log(`FAIL ${what}${detail ? `: ${detail}` : ''}`);
}

async function open(query = '') {
  const page = await browser.newPage();
  page.on('console', (m) => { if (m.type() === 'error') consoleErrors.push(m.text()); });
  page.on('pageerror', (e) => consoleErrors.push(e.message));
  await page.setViewport({width: 800, height: 700});
  await page.goto(`${origin}/index.html${query}`);
  return page;
}

// The canvas's own pixels (what putImageData left there), through a PNG: quick to hand over.
async function canvasPage(page) {
  const url = await page.evaluate(() => document.getElementById('screen').toDataURL('image/png'));
  return decodePng(Buffer.from(url.slice(url.indexOf(',') + 1), 'base64'));
}

async function waitFor(page, wanted, timeoutMs = 20000) {
  const until = Date.now() + timeoutMs;
  let seen = '';
  while (Date.now() < until) {
    seen = screenOf(await canvasPage(page));
    if (wanted.includes(seen)) return seen;
    await new Promise((done) => setTimeout(done, 50));
  }
  if (process.env.TORVANE_BROWSER_SHOTS) await page.screenshot({path: path.join(process.env.TORVANE_BROWSER_SHOTS, `${wanted[0]}.png`)});
  throw new Error(`waited for ${wanted.join(' or ')}, the page shows ${seen}`);
}

// Taps until the screen shows: a page still fading in takes no keys.
async function stepTo(page, key, screen) {
  for (let tries = 0; tries < 5; ++tries) {
    await tap(page, key);
    if (await waitFor(page, [screen], 1000).catch(() => '')) return;
  }
  await waitFor(page, [screen], 0);
}

// The tab dies at once (its renderer crashes); a new one, on real time, opens on the same storage.
async function crashAndReopen(page) {
  const died = new Promise((done) => page.once('error', done));
  page.createCDPSession().then((tab) => tab.send('Page.crash')).catch(() => {});
  await died;
  await page.close();
  return open();
}

async function tap(page, key) {
  await page.keyboard.down(key);
  await new Promise((done) => setTimeout(done, 60));
  await page.keyboard.up(key);
}

try {
  // 1. The menu at a known moment on the virtual clock, against the runner's dump.
  execFileSync(runner, ['--workdir', work, '--until-ms', String(kMenuMs + 100),
                        '--dump-frame', `${kMenuMs}:${path.join(work, 'menu.png')}`], {stdio: 'ignore'});
  const dumped = decodePng(fs.readFileSync(path.join(work, 'menu.png')));
  let page = await open(`?clock=virtual&stop-ms=${kMenuMs}`);
  await page.waitForFunction('Module.stopped === true', {timeout: 30000});
  const shot = decodePng(Buffer.from(await (await page.$('#screen')).screenshot({type: 'png'})));
  let differing = shot.width === 640 && shot.height === 480 ? 0 : -1;
  for (let i = 0; differing >= 0 && i < 640 * 480; ++i)
    if ([0, 1, 2].some((k) => shot.rgba[i * 4 + k] !== dumped.rgba[i * 4 + k])) ++differing;
  check(differing === 0, `the screenshot of the menu at ${kMenuMs} ms is the runner's dump, pixel for pixel`,
        `${differing} pixels differ (${shot.width}x${shot.height})`);
  await page.close();

  // 2. Real time: frames appear, keys drive the menu into a round and out again.
  page = await open();
  await page.waitForFunction('Module.frameTimes && Module.frameTimes.length > 20', {timeout: 30000});
  const firstFrameMs = await page.evaluate(() => Module.firstFrameMs);
  check(true, `frames appear (first after ${firstFrameMs.toFixed(0)} ms)`);
  await waitFor(page, ['menu-1']);
  await tap(page, 'Enter');
  await waitFor(page, ['round']);
  await page.evaluate(() => { Module.frameTimes.length = 0; });
  await page.keyboard.down('ArrowLeft');
  await page.keyboard.down('Space');
  await new Promise((done) => setTimeout(done, 3000));
  await page.keyboard.up('Space');
  await page.keyboard.up('ArrowLeft');
  const times = (await page.evaluate(() => Module.frameTimes.slice())).sort((a, b) => a - b);
  const pick = (f) => times[Math.min(times.length - 1, Math.floor(f * (times.length - 1)))];
  await tap(page, 'Escape');
  await waitFor(page, ['abort-question']);
  await tap(page, 'y');
  await waitFor(page, ['menu-1', 'menu-2', 'menu-3', 'menu-4', 'menu-5']);
  check(true, 'Enter starts a round, Escape asks, Y leaves it for the menu');

  // The game just played, downloaded, replays natively with every checkpoint matching.
  const cdp = await page.target().createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', {behavior: 'allow', downloadPath: work});
  await Promise.all([page.waitForNavigation(), page.click('#download')]);
  const downloaded = path.join(work, 'torvane-game.tvr');
  for (let i = 0; i < 100 && !fs.existsSync(downloaded); ++i) await new Promise((done) => setTimeout(done, 100));
  const nativeRun = spawnSync(runner, ['--play', downloaded, '--workdir', fs.mkdtempSync(path.join(work, 'replay-'))],
                              {encoding: 'utf8'});
  const replayed = nativeRun.status === 0 ? JSON.parse(nativeRun.stdout.trim()) : {};
  check(nativeRun.status === 0 && replayed.frames > 100 && replayed.round_results.length === 1,
        `the browser's recording replays natively (exit ${nativeRun.status}, ${replayed.frames} frames, ` +
        `rounds ${JSON.stringify(replayed.round_results)}, ` +
        `${fs.existsSync(downloaded) ? fs.statSync(downloaded).size : 0} bytes)`, nativeRun.stderr);

  // A native recording plays in the page to its end.
  const keys = path.join(work, 'keys.txt'), nativeFile = path.join(work, 'native.tvr');
  fs.writeFileSync(keys, '3000 tap ENTER\n5000 tap ESC\n5800 tap Y\n');
  execFileSync(runner, ['--workdir', fs.mkdtempSync(path.join(work, 'record-')), '--script', keys,
                        '--until-ms', '8000', '--record', nativeFile], {stdio: 'ignore'});
  await (await page.$('#file')).uploadFile(nativeFile);
  // The page reloads to play it and reloads again when it is over, saying how it went.
  let status = '';
  for (const until = Date.now() + 40000; Date.now() < until && !/played to its end/.test(status);) {
    await new Promise((done) => setTimeout(done, 250));
    status = await page.evaluate(() => document.getElementById('status').textContent).catch(() => '');
  }
  check(/played to its end/.test(status), 'a native recording plays in the page to its end', status);
  await page.close();

  // 3. Each save must be in the browser's storage before the game goes on: the tab dies right
  // after it, with no chance to write anything on its way out, and a new tab must find it.
  page = await open();
  await waitFor(page, ['menu-1']);
  for (const [key, screen] of [['ArrowDown', 'menu-2'], ['Enter', 'options-1'], ['ArrowDown', 'options-2'], ['Enter', 'sfx-25'],
                               ['ArrowDown', 'options-3'], ['ArrowDown', 'options-4'], ['Enter', 'menu-2']])
    await stepTo(page, key, screen);  // the Enter on the options' Exit saves the settings
  page = await crashAndReopen(page);
  await waitFor(page, ['menu-1']);
  await stepTo(page, 'ArrowDown', 'menu-2');
  await stepTo(page, 'Enter', 'options-1');
  await tap(page, 'ArrowDown');
  check(await waitFor(page, ['sfx-25', 'options-2']) === 'sfx-25', 'a setting changed is kept after the tab died');
  await page.close();

  // A lost round on the virtual clock and a name for the table.
  page = await open('?clock=virtual');
  await waitFor(page, ['menu-1']);
  await tap(page, 'Enter');
  for (let named = false; !named;) {
    const screen = await waitFor(page, ['tally-done', 'record-prompt', 'name-entry'], 60000);
    if (screen === 'tally-done') await tap(page, 'Enter');
    if (screen === 'record-prompt') await tap(page, 'y');
    if (screen === 'name-entry') {
      await page.keyboard.type('LOST', {delay: 30});
      await tap(page, 'Enter');
      named = true;
    }
  }
  // On the virtual clock a key held for 60 ms lasts seconds: the Enter may leave the table too.
  await waitFor(page, ['high-scores', 'menu-1']);
  page = await crashAndReopen(page);
  await waitFor(page, ['menu-1']);
  for (const screen of ['menu-2', 'menu-3', 'menu-4']) await stepTo(page, 'ArrowDown', screen);
  await tap(page, 'Enter');
  await waitFor(page, ['high-scores']);
  await new Promise((done) => setTimeout(done, 1500));  // faded in
  const table = await canvasPage(page);
  // The table as the reloaded page read it from the browser's storage, unscrambled.
  const stored = await page.evaluate(() => {
    try { return Array.from(Module.FS.readFile('/home/web_user/.local/share/torvane/hs.dat')); } catch (e) { return []; }
  });
  const firstName = String.fromCharCode(...stored.slice(0, stored.indexOf(13)).map((b, i) => (b - 'vantry'.charCodeAt(i % 6)) & 255));
  check(firstName === 'LOST' && showsBluishText(table, 270, 152, 'LOST'),
        'the name entered is on the table page after the tab died', `the stored table starts with '${firstName}'`);
  await page.close();

  check(consoleErrors.length === 0, 'no console errors', consoleErrors.join(' | '));
  const gzipped = ['torvane.wasm', 'torvane.js'].map((f) => zlib.gzipSync(fs.readFileSync(path.join(site, f)), {level: 9}).length);
  check(gzipped[0] + gzipped[1] <= 1 << 20, `wasm and JavaScript gzipped: ${gzipped[0]} + ${gzipped[1]} bytes, at most 1 MB`);
  const wasm = fs.statSync(path.join(site, 'torvane.wasm')).size, js = fs.statSync(path.join(site, 'torvane.js')).size;
  console.log(`figures: first frame ${firstFrameMs.toFixed(0)} ms after opening; frame CPU p50 ${pick(0.5).toFixed(2)} ms, ` +
              `p99 ${pick(0.99).toFixed(2)} ms over ${times.length} frames of a round; wasm ${wasm} B, js ${js} B`);
} catch (error) {
  check(false, 'the browser session', error.message);
} finally {
  await browser.close();
  server.close();
  fs.rmSync(work, {recursive: true, force: true});
}
console.log(`browser: ${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
