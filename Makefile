# SPDX-License-Identifier: GPL-3.0-or-later
# Two entry points: `make run` builds an optimised program and starts it;
# `make test` builds the sanitizer build and the cross builds and runs every
# test. `make package` makes the Debian packages. `make web` builds the browser
# edition into build-web/site/ and `make web-serve` serves it on this computer.
# All install what they need first.
JOBS ?= 2

.PHONY: run test build build-test deps bench fuzz package clean cross-test web web-serve

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DQUORVEX_TESTS=OFF >/dev/null
	@cmake --build build -j$(JOBS)

run: build
	./build/bin/quorvex

build-test: deps
	@cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DQUORVEX_SANITIZE=ON >/dev/null
	@cmake --build build-test -j$(JOBS)

# Every test: the browser edition built from the sanitizer build's data
# first, since the packages the suite builds carry it; the sanitizer build's
# suite (desktop, core, tools, packages); then the core's suite and
# quorvex-tool cross-built for ARM64 and run under qemu-aarch64, and the
# core's suite built with emscripten and run under node, each with its numbers
# compared with this machine's; then the browser edition tested in headless
# Chromium.
test: build-test
	scripts/build-web build-test
	ctest --test-dir build-test --output-on-failure -j$(JOBS)
	scripts/cross-test arm64
	scripts/cross-test wasm
	npm --prefix web test

# The core's tests built for ARM64 (run by qemu-aarch64) and WebAssembly (run
# by node), and their numbers compared with this machine's.
cross-test: deps
	scripts/cross-test arm64
	scripts/cross-test wasm

# The browser edition: the site's files in build-web/site/ (the core as
# WebAssembly, the pictures drawn by the desktop's code, the page), and a
# local server for it at http://127.0.0.1:8080/.
web: build
	scripts/build-web build

web-serve: web
	node web/serve.mjs build-web/site 8080

# Benchmarks, optimised and without sanitizers.
bench: deps
	@cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DQUORVEX_BENCH=ON -DQUORVEX_TESTS=OFF >/dev/null
	@cmake --build build-bench -j$(JOBS)
	@for b in build-bench/bench/*; do [ -x "$$b" ] && "$$b"; done

# libFuzzer targets, built with clang.
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEX_FUZZ=ON -DQUORVEX_TESTS=OFF >/dev/null
	@cmake --build build-fuzz -j$(JOBS)

# The Debian packages of the optimised build: build/quorvex_<version>_<arch>.deb
# (with the browser edition's site, built first) and
# build/quorvex-tool_<version>_<arch>.deb.
package: web
	cd build && cpack -G DEB

clean:
	rm -rf build build-test build-bench build-fuzz build-core build-arm64 build-wasm build-web
