// A small server for the built page on 127.0.0.1, sending each file's .gz beside it to a
// browser that takes gzip (a third of the bytes).
//   node web/serve.mjs build-web [port]     then open http://127.0.0.1:8000/
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

const kTypes = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.webmanifest': 'application/manifest+json', '.svg': 'image/svg+xml', '.mp3': 'audio/mpeg',
  '.ogg': 'audio/ogg', '.tvr': 'application/octet-stream',
};

// Resolves with the listening server; the port 0 takes any free one.
export function serve(folder, port = 8000) {
  const root = path.resolve(folder);
  const server = http.createServer((request, response) => {
    let name;
    try {
      name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    } catch (e) {
      return response.writeHead(400).end();
    }
    if (name.endsWith('/')) name += 'index.html';
    const file = path.join(root, path.normalize(name));
    if (!file.startsWith(root + path.sep)) return response.writeHead(404).end();
    const headers = {'content-type': kTypes[path.extname(file)] || 'application/octet-stream',
                     'cache-control': 'no-cache', 'vary': 'accept-encoding'};
    const gzip = /\bgzip\b/.test(request.headers['accept-encoding'] || '') && fs.existsSync(file + '.gz');
    if (gzip) headers['content-encoding'] = 'gzip';
    fs.readFile(gzip ? file + '.gz' : file, (error, bytes) => {
      if (error) return response.writeHead(404).end();
      response.writeHead(200, headers).end(request.method === 'HEAD' ? undefined : bytes);
    });
  });
  return new Promise((done) => server.listen(port, '127.0.0.1', () => done(server)));
}

if (process.argv[1] && path.resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
  const server = await serve(process.argv[2] || 'build-web', Number(process.argv[3] || 8000));
  console.log(`serving ${path.resolve(process.argv[2] || 'build-web')} on http://127.0.0.1:${server.address().port}/`);
}
