'use strict';
// The page's folder served on 127.0.0.1 (a free port) for the driver's browsers:
// - with Cross-Origin-Opener-Policy and Cross-Origin-Embedder-Policy, which isolate the page so
//   that every engine gives it fine timers (Firefox and WebKit step performance.now() by 1 ms
//   otherwise);
// - `overrides` (path -> bytes, or null for a 404) in place of the folder's files;
// - index.html with scripts first in its head, before the page's own: a collector of console.error
//   calls and uncaught exceptions (QuorvaneConsoleErrors), then `prepare`. Classic WebDriver cannot
//   run a script before a page's, so every engine gets them this way.
const fs = require('fs');
const http = require('http');
const path = require('path');

const Collector = `(() => {
  const errors = window.QuorvaneConsoleErrors = [];
  const error = console.error.bind(console);
  console.error = (...values) => { errors.push(values.map(String).join(' ')); error(...values); };
  addEventListener('error', (event) => errors.push('uncaught: ' + event.message));
  addEventListener('unhandledrejection', (event) => errors.push('unhandled rejection: ' + event.reason));
})();`;

const Types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm' };

function serve(pageDir, { overrides = {}, prepare = '' } = {}) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname).replace(/^\/+/, '') || 'index.html';
    let body = name in overrides ? overrides[name] : null;
    if (!(name in overrides) && !name.includes('..') && fs.existsSync(path.join(pageDir, name)))
      body = fs.readFileSync(path.join(pageDir, name));
    if (body && name === 'index.html') {
      const scripts = [Collector, prepare].map((script) => `<script>${script}</script>`).join('\n');
      body = String(body).replace('<head>', `<head>\n${scripts}`);
    }
    if (!body) return response.writeHead(404).end();
    response.writeHead(200, {
      'Content-Type': Types[path.extname(name)] || 'application/octet-stream',
      'Cross-Origin-Opener-Policy': 'same-origin',
      'Cross-Origin-Embedder-Policy': 'require-corp',
      'Cache-Control': 'no-store',
    }).end(body);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

module.exports = { serve };
