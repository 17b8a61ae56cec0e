'use strict';
// The web tier: the page of the browser build in headless Chromium, driven over the DevTools
// protocol. node web_test.js PAGE_DIR SOURCE_DIR CASE runs one case of the table at the end; the
// page is served on 127.0.0.1 by this script, which can also withhold or damage its pictures.
const { WebSocket } = require('ws');
const { spawn } = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const zlib = require('zlib');

const [pageDir = process.env.QUORVANE_WEB_PAGE, sourceDir, caseName] = process.argv.slice(2);
const goldenDir = path.join(sourceDir || '.', 'tests/golden');

// Golden frames drawn by SwiftShader against the references drawn by Mesa's llvmpipe: the share of
// pixels whose largest channel difference is at most WithinLevels. Measured on every golden run,
// each shot has at least 99.7 % (README, Web). What is left: edges that SwiftShader places with 4
// bits of sub-pixel precision where llvmpipe has 8 (a row of the backdrop, pixels along triangle
// edges), single texels of a far-minified texture without mipmaps that its interpolation picks on
// the other side of a boundary, and the additive particles, which it blends a level or two darker.
const WithinLevels = 6;
const MinShareWithin = 0.995;
// What a key must change, as the golden runs ask of a run against its base.
const MinChangedShare = 0.01;

function fail(message) {
  throw new Error(message);
}

// PNG files as written by the capture tool and the reference pictures: 8-bit RGB or RGBA, not
// interlaced. Returns { width, height, rgb }.
function decodePng(bytes) {
  let at = 8, width = 0, height = 0, channels = 0;
  const data = [];
  while (at < bytes.length) {
    const length = bytes.readUInt32BE(at), type = bytes.toString('latin1', at + 4, at + 8);
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      channels = { 2: 3, 6: 4 }[body[9]];
      if (body[8] !== 8 || !channels || body[12] !== 0) fail('unsupported PNG');
    } else if (type === 'IDAT') data.push(body);
    at += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(data)), stride = width * channels;
  const rows = Buffer.alloc(stride * height), rgb = Buffer.alloc(width * height * 3);
  for (let y = 0; y < height; y++) {
    const filter = raw[y * (stride + 1)], line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let x = 0; x < stride; x++) {
      const a = x >= channels ? rows[y * stride + x - channels] : 0, b = y ? rows[(y - 1) * stride + x] : 0;
      const c = x >= channels && y ? rows[(y - 1) * stride + x - channels] : 0;
      const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
      const predictor = [0, a, b, (a + b) >> 1, pa <= pb && pa <= pc ? a : pb <= pc ? b : c][filter];
      rows[y * stride + x] = (line[x] + predictor) & 255;
    }
  }
  for (let i = 0; i < width * height; i++) rows.copy(rgb, i * 3, i * channels, i * channels + 3);
  return { width, height, rgb };
}

// Share of pixels within 2, 6 and 16 levels, and the largest channel difference.
function compare(actual, expected) {
  if (actual.width !== expected.width || actual.height !== expected.height) fail('sizes differ');
  const within = { 2: 0, 6: 0, 16: 0 };
  let largest = 0;
  for (let i = 0; i < actual.rgb.length; i += 3) {
    let d = 0;
    for (let c = 0; c < 3; c++) d = Math.max(d, Math.abs(actual.rgb[i + c] - expected.rgb[i + c]));
    largest = Math.max(largest, d);
    for (const level of [2, 6, 16]) if (d <= level) within[level]++;
  }
  const pixels = actual.rgb.length / 3;
  return { within2: within[2] / pixels, within6: within[6] / pixels, within16: within[16] / pixels, largest };
}

// The golden table, with each run's input following its base's, as the golden tier reads it.
function goldenRuns() {
  const runs = new Map();
  for (const line of fs.readFileSync(path.join(goldenDir, 'runs.txt'), 'utf8').split('\n')) {
    if (!line.trim() || line.startsWith('#')) continue;
    const [name, frames, shots, base, ...own] = line.trim().split(/\s+/);
    const input = [base !== '-' ? runs.get(base).input : '', own.join(' ')].filter((s) => s).join(' ');
    runs.set(name, { name, frames: Number(frames), shots: shots.split(',').map(Number), base, input });
  }
  return [...runs.values()];
}

// The page's server: the build's folder, with `overrides` (path -> bytes, or null for 404).
function serve(overrides) {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm' };
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname).replace(/^\/+/, '') || 'index.html';
    let body = name in overrides ? overrides[name] : null;
    if (!(name in overrides) && !name.includes('..')) body = fs.existsSync(path.join(pageDir, name)) ? fs.readFileSync(path.join(pageDir, name)) : null;
    if (!body) return response.writeHead(404).end();
    response.writeHead(200, { 'Content-Type': types[path.extname(name)] || 'application/octet-stream' }).end(body);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// One headless Chromium with its own empty profile, and one page target driven over the protocol.
async function openBrowser() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvane-web-'));
  const chromium = spawn('chromium', ['--headless=new', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
    '--no-sandbox', '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--no-first-run', '--disable-quic', '--remote-debugging-port=0', '--user-data-dir=' + profile, 'about:blank'],
    { stdio: ['ignore', 'ignore', 'pipe'], detached: true });
  const endpoint = await new Promise((resolve, reject) => {
    let text = '';
    chromium.stderr.on('data', (chunk) => {
      text += chunk;
      const found = /DevTools listening on (ws:\/\/\S+)/.exec(text);
      if (found) resolve(found[1]);
    });
    chromium.on('exit', () => reject(new Error('chromium ended: ' + text)));
  });
  const socket = new WebSocket(endpoint, { perMessageDeflate: false, maxPayload: 1 << 28 });
  await new Promise((resolve) => socket.on('open', resolve));
  let next = 0;
  const pending = new Map(), listeners = [];
  socket.on('message', (text) => {
    const message = JSON.parse(text);
    if (message.id && pending.has(message.id)) {
      const { resolve, reject } = pending.get(message.id);
      pending.delete(message.id);
      message.error ? reject(new Error(JSON.stringify(message.error))) : resolve(message.result);
    } else listeners.forEach((listener) => listener(message));
  });
  const send = (method, params = {}, sessionId) => new Promise((resolve, reject) => {
    pending.set(++next, { resolve, reject });
    socket.send(JSON.stringify({ id: next, method, params, sessionId }));
  });
  const { targetId } = await send('Target.createTarget', { url: 'about:blank' });
  const { sessionId } = await send('Target.attachToTarget', { targetId, flatten: true });
  const page = (method, params) => send(method, params, sessionId);
  const errors = [];
  listeners.push((m) => {
    if (m.sessionId === sessionId && m.method === 'Runtime.exceptionThrown') errors.push(m.params.exceptionDetails);
  });
  await page('Runtime.enable');
  await page('Page.enable');
  const close = async () => {
    socket.close();
    const ended = new Promise((resolve) => chromium.on('exit', resolve));
    process.kill(-chromium.pid); // the browser and its helpers, which it started in its own group
    await ended;
    fs.rmSync(profile, { recursive: true, force: true, maxRetries: 20, retryDelay: 50 });
  };
  return { page, errors, close };
}

async function evaluate(browser, expression) {
  const { result, exceptionDetails } = await browser.page('Runtime.evaluate',
    { expression, awaitPromise: true, returnByValue: true });
  if (exceptionDetails) fail('page: ' + JSON.stringify(exceptionDetails));
  return result.value;
}

// Polls the page until `expression` is true; never a fixed sleep.
async function waitFor(browser, expression, what, seconds = 20) {
  const end = Date.now() + seconds * 1000;
  while (Date.now() < end) {
    if (await evaluate(browser, expression)) return;
    await new Promise((resolve) => setTimeout(resolve, 25));
  }
  fail('timed out waiting for ' + what + '; page says: ' + (await evaluate(browser, 'document.body.innerText')));
}

async function key(browser, name, code, virtualKey, type) {
  await browser.page('Input.dispatchKeyEvent',
    { type, key: name, code, windowsVirtualKeyCode: virtualKey, nativeVirtualKeyCode: virtualKey });
}

// A key held for two presented frames, as a person's press is.
async function press(browser, name, code, virtualKey) {
  await key(browser, name, code, virtualKey, 'keyDown');
  const at = await evaluate(browser, 'QuorvanePage.presented');
  await waitFor(browser, `QuorvanePage.presented >= ${at + 2} || QuorvanePage.state !== 'running'`, 'two frames');
  await key(browser, name, code, virtualKey, 'keyUp');
}

const Dialog = `(() => { const d = document.querySelector('.quorvane-dialog');
  return d && { caption: d.querySelector('.caption').textContent, text: d.querySelector('.text').textContent,
    buttons: [...d.querySelectorAll('button')].map((b) => b.textContent) }; })()`;

async function answer(browser, label) {
  await evaluate(browser, `[...document.querySelectorAll('.quorvane-dialog button')].find((b) => b.textContent === '${label}').click()`);
}

// A page run: served with `overrides`, opened at `query`, with `prepare` evaluated before the page's
// own scripts (what the browser refuses); then `drive` does the rest.
async function withPage(query, { overrides = {}, prepare } = {}, drive) {
  const server = await serve(overrides);
  const browser = await openBrowser();
  try {
    if (prepare) await browser.page('Page.addScriptToEvaluateOnNewDocument', { source: prepare });
    await browser.page('Page.navigate', { url: `http://127.0.0.1:${server.address().port}/index.html${query}` });
    await waitFor(browser, "typeof QuorvanePage === 'object'", 'the page');
    await drive(browser);
    if (browser.errors.length) fail('uncaught in the page: ' + JSON.stringify(browser.errors[0]));
    // Nothing was asked of the GL layer that it does not do as GL would (gl_layer.h's flags).
    if (await evaluate(browser, 'Module._QuorvaneGlDivergences()')) fail('GL layer: ' + (await evaluate(browser, 'QuorvanePage.lines')));
  } finally {
    await browser.close();
    server.close();
  }
}

async function shotsOf(browser, shots) {
  await waitFor(browser, "QuorvanePage.state === 'ended'", 'the capture to end', 120);
  const pictures = {};
  for (const shot of shots) {
    const base64 = await evaluate(browser, `(() => { const b = Module.FS.readFile('captures/frame-${shot}.png');
      let s = ''; for (let i = 0; i < b.length; i += 32768) s += String.fromCharCode.apply(null, b.subarray(i, i + 32768));
      return btoa(s); })()`);
    pictures[shot] = decodePng(Buffer.from(base64, 'base64'));
  }
  return pictures;
}

const reference = (run, shot) => decodePng(fs.readFileSync(path.join(goldenDir, `reference/${run}-${shot}.png`)));
const captureQuery = (run, input) =>
  `?frames=${run.frames}&shots=${run.shots.join(',')}&input=${encodeURIComponent(input)}`;
const run = (name) => goldenRuns().find((r) => r.name === name);
const percent = (share) => (100 * share).toFixed(2) + '%';

const Cases = {
  // Every golden run's frames, drawn in the page, against the native references.
  async golden() {
    let worst = 1;
    const runs = goldenRuns();
    const check = (golden) => withPage(captureQuery(golden, golden.input), {}, async (browser) => {
      const pictures = await shotsOf(browser, golden.shots);
      for (const shot of golden.shots) {
        const d = compare(pictures[shot], reference(golden.name, shot));
        worst = Math.min(worst, d.within6);
        console.log(`${golden.name}-${shot}: within 2 ${percent(d.within2)}, 6 ${percent(d.within6)}, ` +
          `16 ${percent(d.within16)}, largest ${d.largest}`);
      }
    });
    // Two pages at a time: most of a run is waiting for the display.
    for (let i = 0; i < runs.length; i += 2) await Promise.all(runs.slice(i, i + 2).map(check));
    if (worst < MinShareWithin) fail(`a frame has only ${percent(worst)} of its pixels within ${WithinLevels} levels`);
  },

  // Keys over the protocol reach the scene: L lit at frame 150 gives the lit reference, whenever it
  // was pressed; H shows the panel over the default frame.
  async keys() {
    for (const [name, code, vk, golden, base, same] of [['l', 'KeyL', 0x4c, 'group', 'lighting', true],
      ['h', 'KeyH', 0x48, 'default', 'default', false]]) {
      const r = run(golden), shot = golden === 'default' ? 100 : 150;
      await withPage(`?frames=${shot}&shots=${shot}&input=${encodeURIComponent(r.input)}`, {}, async (browser) => {
        await waitFor(browser, 'QuorvanePage.presented >= 5', 'the first frames');
        await press(browser, name, code, vk);
        if (await evaluate(browser, `QuorvanePage.presented >= ${shot - 10}`)) fail('the key came too late');
        const d = compare((await shotsOf(browser, [shot]))[shot], reference(base, shot));
        console.log(`${name}: ${percent(d.within6)} within ${WithinLevels} of ${base}-${shot}`);
        if (same ? d.within6 < MinShareWithin : 1 - d.within6 < MinChangedShare) fail(`${name} did not act`);
      });
    }
  },

  // Escape ends the program; the page says so and offers to start again.
  async escape() {
    await withPage('', {}, async (browser) => {
      await waitFor(browser, 'QuorvanePage.presented >= 3', 'the first frames', 5);
      await key(browser, 'Escape', 'Escape', 0x1b, 'keyDown');
      await waitFor(browser, "QuorvanePage.state === 'ended'", 'the end');
      const text = await evaluate(browser, "document.querySelector('.quorvane-ended').innerText");
      if (!/has ended/.test(text) || !/Start again/.test(text)) fail('no end notice: ' + text);
      if (!(await evaluate(browser, "document.querySelector('#quorvane-screen canvas') !== null"))) fail('no canvas');
    });
  },

  // The desktop's boxes, as dialogs: a damaged picture, both pictures missing, no WebGL context.
  async boxes() {
    const damaged = Buffer.from(fs.readFileSync(path.join(pageDir, 'data/t1.bmp')));
    damaged.write('XX', 0, 'latin1');
    const cases = [
      [{ overrides: { 'data/t1.bmp': damaged } }, 'Error', 'OK', 'running'],
      [{ overrides: { 'data/t1.bmp': null, 'data/star.bmp': null } }, 'Initialization Error', 'OK', 'ended',
        'Initialize OpenGL failed'],
      [{ prepare: "HTMLCanvasElement.prototype.getContext = () => null;" }, 'Initialization error', 'OK', 'ended',
        'Create rendering context failed'],
    ];
    for (const [options, caption, button, after, text] of cases) {
      await withPage('', options, async (browser) => {
        await waitFor(browser, Dialog, 'a dialog');
        const dialog = await evaluate(browser, Dialog);
        console.log(JSON.stringify(dialog));
        if (dialog.caption !== caption || (text && dialog.text !== text) || dialog.buttons.join() !== button)
          fail('unexpected dialog ' + JSON.stringify(dialog));
        await answer(browser, button);
        await waitFor(browser, `QuorvanePage.state === '${after}'` + (after === 'running' ? ' && QuorvanePage.presented > 3' : ''), after);
      });
    }
  },

  // A refused fullscreen asks the desktop's question; Yes goes on in a window.
  async fullscreen() {
    const refuse = 'Element.prototype.requestFullscreen = function () { return Promise.reject(new TypeError("refused")); };';
    await withPage('', { prepare: refuse }, async (browser) => {
      await waitFor(browser, 'QuorvanePage.presented >= 3', 'the first frames');
      await key(browser, 'F1', 'F1', 0x70, 'keyDown');
      await waitFor(browser, Dialog, 'the question');
      const dialog = await evaluate(browser, Dialog);
      if (dialog.caption !== 'Initialization Error' || dialog.buttons.join() !== 'Yes,No' || !/windowed mode\?$/.test(dialog.text))
        fail('unexpected dialog ' + JSON.stringify(dialog));
      await key(browser, 'F1', 'F1', 0x70, 'keyUp');
      // Keys pressed during the dialog do not reach the scene: Escape would end it.
      await key(browser, 'Escape', 'Escape', 0x1b, 'keyDown');
      await key(browser, 'Escape', 'Escape', 0x1b, 'keyUp');
      const at = await evaluate(browser, 'QuorvanePage.presented');
      await answer(browser, 'Yes');
      await waitFor(browser, `QuorvanePage.presented > ${at + 3} && QuorvanePage.state === 'running'`, 'frames in a window');
      if (await evaluate(browser, 'QuorvanePage.isFullscreen()')) fail('fullscreen after all');
    });
    // Allowed, F1 goes fullscreen and back, each time on a new canvas.
    await withPage('', {}, async (browser) => {
      for (const fullscreen of [true, false]) {
        await waitFor(browser, 'QuorvanePage.presented >= 3', 'the first frames');
        const canvas = "document.querySelector('#quorvane-screen canvas:not(.retired)').id";
        const [before, at] = await evaluate(browser, `[${canvas}, QuorvanePage.presented]`);
        await press(browser, 'F1', 'F1', 0x70);
        await waitFor(browser, `QuorvanePage.isFullscreen() === ${fullscreen} && QuorvanePage.presented > ${at + 3}`, 'the switch');
        if ((await evaluate(browser, canvas)) === before) fail('the same canvas after F1');
      }
    });
  },

  // A context the browser takes away comes back on a new canvas, and the scene goes on.
  async context_lost() {
    await withPage('', {}, async (browser) => {
      await waitFor(browser, 'QuorvanePage.presented >= 3', 'the first frames');
      const first = await evaluate(browser, "document.querySelector('#quorvane-screen canvas:not(.retired)').id");
      await evaluate(browser, `document.getElementById('${first}').getContext('webgl2').getExtension('WEBGL_lose_context').loseContext()`);
      await waitFor(browser, `(document.querySelector('#quorvane-screen canvas:not(.retired)') || {}).id !== '${first}'`, 'a new canvas');
      const at = await evaluate(browser, 'QuorvanePage.presented');
      await waitFor(browser, `QuorvanePage.presented > ${at + 3}`, 'frames on the new canvas');
      if (await evaluate(browser, 'document.querySelectorAll("#quorvane-screen canvas").length') !== 1) fail('canvases left over');
    });
  },

  // After 3 F1 switches and lost contexts as many GL objects live as after one (WebGL's calls wrapped).
  async gl_objects() {
    const count = `window.glObjects = new Set(); const gl = WebGL2RenderingContext.prototype;
      for (const kind of ['Texture', 'Buffer', 'Program', 'Shader', 'Framebuffer', 'Renderbuffer', 'VertexArray']) {
        const create = gl['create' + kind], remove = gl['delete' + kind];
        gl['create' + kind] = function () { const made = create.apply(this, arguments); glObjects.add(made); return made; };
        gl['delete' + kind] = function (object) { glObjects.delete(object); return remove.call(this, object); };
      }`;
    const canvas = "document.querySelector('#quorvane-screen canvas:not(.retired)').id", live = [];
    await withPage('', { prepare: count }, async (browser) => {
      for (let change = 0; change < 6; change++) {
        await waitFor(browser, 'QuorvanePage.presented >= 3', 'the first frames');
        const [before, at] = await evaluate(browser, `[${canvas}, QuorvanePage.presented]`);
        if (change % 2 === 0) await press(browser, 'F1', 'F1', 0x70);
        else await evaluate(browser, `document.getElementById('${before}').getContext('webgl2').getExtension('WEBGL_lose_context').loseContext()`);
        await waitFor(browser, `${canvas} !== '${before}' && QuorvanePage.presented > ${at + 5}`, 'frames on a new canvas');
        if (change % 2) live.push(await evaluate(browser, 'glObjects.size'));
      }
    });
    if (live[2] !== live[0]) fail('GL objects alive after 1, 2 and 3 switches and losses: ' + live.join(', '));
  },

  // A bad capture option is named, and nothing is drawn.
  async bad_option() {
    await withPage('?frames=10&shot=1', {}, async (browser) => {
      await waitFor(browser, "QuorvanePage.state === 'ended'", 'the end');
      const lines = await evaluate(browser, 'QuorvanePage.lines.join("\\n")');
      if (!/--shot/.test(lines) || (await evaluate(browser, 'QuorvanePage.presented')) !== 0) fail('not refused: ' + lines);
    });
  },
};

module.exports = { withPage, waitFor, evaluate, press, key };
if (require.main !== module) return;
if (!Cases[caseName]) fail('no case ' + caseName + '; cases: ' + Object.keys(Cases).join(' '));
const started = Date.now();
Cases[caseName]().then(() => console.log(`${caseName}: passed in ${((Date.now() - started) / 1000).toFixed(1)} s`),
  (error) => { console.error(`${caseName}: FAILED: ${error.message}`); process.exit(1); });
