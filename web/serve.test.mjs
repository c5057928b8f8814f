// SPDX-License-Identifier: GPL-3.0-or-later
// The local server (serve.mjs): the site's files with their types, and
// nothing outside the site folder, however the path is written.
//   node --test serve.test.mjs
import { spawn } from 'node:child_process';
import { mkdirSync, mkdtempSync, rmSync, symlinkSync, writeFileSync } from 'node:fs';
import { request } from 'node:http';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
let dir, server, port;

// A raw request, so that the path goes out exactly as written.
function get(path, headers = {}, method = 'GET') {
    return new Promise((resolve, reject) => {
        const req = request({ host: '127.0.0.1', port, path, method, headers }, (res) => {
            const chunks = [];
            res.on('data', (c) => chunks.push(c));
            res.on('end', () => resolve({ status: res.statusCode, headers: res.headers, body: Buffer.concat(chunks) }));
        });
        req.on('error', reject);
        req.end();
    });
}

before(async () => {
    dir = mkdtempSync(join(tmpdir(), 'qv-serve-'));
    const site = join(dir, 'site');
    mkdirSync(join(site, 'data'), { recursive: true });
    mkdirSync(join(site, 'empty'));
    writeFileSync(join(site, 'index.html'), '<!doctype html>');
    writeFileSync(join(site, 'quorvex-core.wasm'), Buffer.from([0, 0x61, 0x73, 0x6d]));
    writeFileSync(join(site, 'quorvex-core.mjs'), 'export default 1;');
    writeFileSync(join(site, 'data', 'Leap Seconds.txt'), 'table');
    writeFileSync(join(dir, 'secret.txt'), 'secret');
    symlinkSync(join(dir, 'secret.txt'), join(site, 'link.txt'));
    server = spawn(process.execPath, [join(here, 'serve.mjs'), site, '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
    port = await new Promise((resolve, reject) => {
        server.stdout.on('data', (d) => {
            const m = /127\.0\.0\.1:(\d+)/.exec(String(d));
            if (m) resolve(Number(m[1]));
        });
        server.on('exit', (code) => reject(new Error(`serve.mjs ended with ${code}`)));
    });
});

after(() => {
    server?.kill();
    rmSync(dir, { recursive: true, force: true });
});

test('serves the site with its types and the folder as its page', async () => {
    const wasm = await get('/quorvex-core.wasm');
    assert.equal(wasm.status, 200);
    assert.equal(wasm.headers['content-type'], 'application/wasm');
    assert.deepEqual([...wasm.body], [0, 0x61, 0x73, 0x6d]);
    assert.match((await get('/quorvex-core.mjs')).headers['content-type'], /^text\/javascript/);
    const page = await get('/?v=2');
    assert.equal(page.status, 200);
    assert.match(page.headers['content-type'], /^text\/html/);
    assert.equal(String((await get('/data/Leap%20Seconds.txt')).body), 'table');
    // Unchanged files are not sent again; HEAD sends none.
    const again = await get('/quorvex-core.wasm', { 'If-None-Match': wasm.headers.etag });
    assert.equal(again.status, 304);
    const head = await get('/index.html', {}, 'HEAD');
    assert.equal(head.status, 200);
    assert.equal(head.body.length, 0);
    assert.equal((await get('/index.html', {}, 'POST')).status, 405);
});

test('refuses what lies outside the site, folders without a page and bad paths', async () => {
    for (const path of [
        '/../secret.txt',
        '/%2e%2e/secret.txt',
        '/data/..%2f..%2fsecret.txt',
        '/link.txt', // a link leading out of the folder
        '/empty/', // no listing
        '/missing.js',
        '/%E0%A4%A', // not a path
        '/data%00.txt',
    ]) {
        const res = await get(path);
        assert.ok(res.status === 404 || res.status === 400, `${path}: ${res.status}`);
        assert.ok(!String(res.body).includes('secret'), path);
    }
});
