// SPDX-License-Identifier: GPL-3.0-or-later
// A small static server for trying the site on this computer:
//   node serve.mjs [SITE_DIR] [PORT]      (defaults: ../build-web/site, 8080)
// It listens on 127.0.0.1 only, serves regular files inside SITE_DIR with
// their types, answers a folder with its index.html (never a listing), and
// refuses any path that leads outside the folder, symbolic links included.
import { createReadStream } from 'node:fs';
import { realpath, stat } from 'node:fs/promises';
import { createServer } from 'node:http';
import { dirname, extname, join, resolve, sep } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const [siteArg, portArg] = process.argv.slice(2);
const port = Number(portArg ?? 8080);
if (!Number.isInteger(port) || port < 0 || port > 65535) {
    console.error(`serve.mjs: not a port: ${portArg}`);
    process.exit(2);
}
let root;
try {
    root = await realpath(resolve(siteArg ?? join(here, '..', 'build-web', 'site')));
} catch {
    console.error(`serve.mjs: no site folder at ${siteArg}`);
    process.exit(2);
}

const TYPES = {
    '.html': 'text/html; charset=utf-8',
    '.css': 'text/css; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.mjs': 'text/javascript; charset=utf-8',
    '.json': 'application/json',
    '.wasm': 'application/wasm',
    '.png': 'image/png',
    '.svg': 'image/svg+xml',
    '.ico': 'image/x-icon',
    '.txt': 'text/plain; charset=utf-8',
    '.webmanifest': 'application/manifest+json',
};

// The file a request names, or null: inside the site, after every link.
async function fileFor(urlPath) {
    let path;
    try {
        path = decodeURIComponent(urlPath);
    } catch {
        return null;
    }
    if (path.includes('\0')) return null;
    let file = resolve(root, '.' + path);
    if (file !== root && !file.startsWith(root + sep)) return null;
    try {
        file = await realpath(file);
        if (file !== root && !file.startsWith(root + sep)) return null;
        let info = await stat(file);
        if (info.isDirectory()) {
            file = join(file, 'index.html');
            info = await stat(file);
        }
        return info.isFile() ? { file, info } : null;
    } catch {
        return null;
    }
}

function refuse(res, status, text) {
    res.writeHead(status, { 'Content-Type': 'text/plain; charset=utf-8' });
    res.end(text + '\n');
}

const server = createServer(async (req, res) => {
    if (req.method !== 'GET' && req.method !== 'HEAD') return refuse(res, 405, 'Method Not Allowed');
    let pathname;
    try {
        pathname = new URL(req.url ?? '/', 'http://localhost').pathname;
    } catch {
        return refuse(res, 400, 'Bad Request');
    }
    const found = await fileFor(pathname);
    if (!found) return refuse(res, 404, 'Not Found');
    const { file, info } = found;
    // Revalidated at every load, answered "not modified" when unchanged.
    const etag = `"${info.size.toString(16)}-${Math.floor(info.mtimeMs).toString(16)}"`;
    const headers = {
        'Content-Type': TYPES[extname(file).toLowerCase()] ?? 'application/octet-stream',
        'Cache-Control': 'no-cache',
        ETag: etag,
        'X-Content-Type-Options': 'nosniff',
    };
    if (req.headers['if-none-match'] === etag) {
        res.writeHead(304, headers);
        return res.end();
    }
    res.writeHead(200, { ...headers, 'Content-Length': info.size });
    if (req.method === 'HEAD') return res.end();
    createReadStream(file)
        .on('error', () => res.destroy())
        .pipe(res);
});

server.listen(port, '127.0.0.1', () => {
    const { port: bound } = server.address();
    console.log(`Serving ${root} at http://127.0.0.1:${bound}/`);
});
