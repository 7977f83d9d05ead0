# Octavane: the everyday commands. CMake does the building; this file only drives it.
#   make run            install what is missing, build, start the game
#   make test           install what is missing, build with warnings as errors (build-dev), run
#                       every test
#   make test-sanitize  the same tests built with AddressSanitizer and UBSan
#   make lint           clang-tidy over every source the developers' build compiles
#   make bench          run the benchmarks (release build)
#   make install        build, then install under PREFIX (default /usr/local; PREFIX=~/.local)
#   make uninstall      remove what the last make install copied
#   make package        build the Debian package build/octavane_<version>_<arch>.deb
#   make format         reformat the sources; make format-check fails on unformatted code
#   make fuzz           fuzz the WAV reader and the settings parser (FUZZ_SECONDS each, clang)
#   make windows        cross-compile for Windows: build-windows/octavane-<version>-windows-x64.zip
#                       and the installer build-windows/octavane-<version>-setup.exe
#   make test-windows   that, then the Windows tests under Wine (unit tests, the zip, the installer)
#   make web            build the browser version into build-web/site (a static site)
#   make serve-web      serve build-web/site on http://127.0.0.1:8000 (HOST=, PORT= to change)
#   make test-web       the unit tests under node and the site in headless Chromium
#   make bench-web      the engine's benchmark in node and in Chromium, frames a second, and the
#                       frame gaps of a whole game at Extreme+ with the CPU slowed 4x, beside
#                       those of a page that draws nothing

MAKEFLAGS += --no-print-directory
JOBS  ?= $(shell nproc)
BUILD := build
PROGRAM := $(BUILD)/src/app/octavane
PREFIX ?= /usr/local

.PHONY: all deps configure build build-dev run test test-sanitize lint bench install uninstall package fuzz format format-check clean web serve-web test-web bench-web

all: build

deps:
	@./scripts/install-deps

configure: deps
	@cmake --preset default >/dev/null

build: configure
	@cmake --build --preset default -j $(JOBS)

run: build
	@if [ -x $(PROGRAM) ]; then \
		cd assets && exec ../$(PROGRAM); \
	else \
		echo "Octavane: everything is built, but there is no game program yet."; \
	fi

# The developers' and CI's build: the same as the default one, but a warning stops it. The
# default build never treats warnings as errors, so a newer compiler cannot break it.
build-dev: deps
	@cmake --preset dev >/dev/null
	@cmake --build --preset dev -j $(JOBS)

test: build-dev
	@ctest --preset dev -j $(JOBS)

lint: deps
	@cmake --preset dev >/dev/null
	@JOBS=$(JOBS) ./scripts/lint $(BUILD)-dev

test-sanitize: deps
	@cmake --preset sanitize >/dev/null
	@cmake --build --preset sanitize -j $(JOBS)
	@ctest --preset sanitize -j $(JOBS)

bench: build
	@set -e; for b in $$(find $(BUILD)/bench -type f -executable -name '*_bench' | sort); do \
		echo "== $$b"; $$b; done

# CMake rewrites install_manifest.txt at every install, the package's and the tests' too, so
# the list of what `make install` copied is kept aside for `make uninstall`.
INSTALLED := $(BUILD)/installed-files.txt

install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)
	@cp $(BUILD)/install_manifest.txt $(INSTALLED)

uninstall:
	@if [ -f $(INSTALLED) ]; then \
		tr '\n' '\0' < $(INSTALLED) | xargs -0 rm -fv && rm -f $(INSTALLED); \
	else \
		echo "Octavane: nothing installed by make install from this build"; \
	fi

package: build
	@cd $(BUILD) && cpack -G DEB

fuzz: deps
	@JOBS=$(JOBS) ./tests/platform/fuzz/run-fuzz

CLANG_FORMAT ?= clang-format-15
FORMAT_FILES = $(shell git ls-files -co --exclude-standard '*.cpp' '*.h')

format:
	@$(CLANG_FORMAT) -i $(FORMAT_FILES)

format-check:
	@$(CLANG_FORMAT) --dry-run --Werror $(FORMAT_FILES)

# The browser build: emscripten with the libraries scripts/web-libs builds once per machine.
WEB_BUILD := build-web
WEB_ENV = eval "$$(./scripts/web-libs env)"

web:
	@./scripts/install-deps web
	@./scripts/web-libs >/dev/null
	@# emcmake would run the test programs with a node flag that today's node refuses.
	@$(WEB_ENV) && emcmake cmake -S . -B $(WEB_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
		-DOCTAVANE_WERROR=OFF -DOCTAVANE_WEB_PREFIX="$$OCTAVANE_WEB_PREFIX" \
		-DCMAKE_CROSSCOMPILING_EMULATOR="$$(command -v node)" -DOCTAVANE_BENCH=OFF >/dev/null
	@$(WEB_ENV) && cmake --build $(WEB_BUILD) -j $(JOBS)
	@echo "Octavane: the site is in $(WEB_BUILD)/site"

# HOST=0.0.0.0 serves the local network too (a phone plays online only then: see the README).
HOST ?= 127.0.0.1
PORT ?= 8000
serve-web:
	@test -f $(WEB_BUILD)/site/index.html || $(MAKE) web
	@echo "Octavane: playing on http://$(HOST):$(PORT) (Ctrl+C stops the server)"
	@/usr/bin/python3 web/serve.py $(WEB_BUILD)/site $(PORT) --host $(HOST)

# The engine's level-9 self-play in node and in Chromium, frames a second in Chromium, and the
# frame gaps of a whole game against Extreme+ with the page's CPU slowed 4x.
bench-web: web
	@./scripts/web-libs bench >/dev/null
	@$(WEB_ENV) && cmake -S . -B $(WEB_BUILD) -DOCTAVANE_BENCH=ON >/dev/null && \
		cmake --build $(WEB_BUILD) --target enginefast_bench -j $(JOBS) && \
		node $(WEB_BUILD)/bench/enginefast/enginefast_bench.js --benchmark_filter='BM_SelfPlay/9/0' && \
		cmake -S . -B $(WEB_BUILD) -DOCTAVANE_BENCH=OFF >/dev/null && \
		ctest --test-dir $(WEB_BUILD) -R web_npm_install >/dev/null && \
		node $(WEB_BUILD)/tests/web/runner/measure.mjs $(WEB_BUILD)/site $(WEB_BUILD)/bench/enginefast

# The browser's frame is compared with the desktop build's frame of the same scene. A browser
# driven on a busy software-rendered X server now and then loses or doubles an input event; a
# test that fails is run once more, and a real fault fails both runs.
test-web: web configure
	@cmake --build --preset default --target frame_scene -j $(JOBS)
	@$(WEB_ENV) && ctest --test-dir $(WEB_BUILD) -j $(JOBS) --output-on-failure \
		--repeat until-pass:2

clean:
	@rm -rf $(BUILD) $(BUILD)-dev $(BUILD)-sanitize $(BUILD)-fuzz $(WEB_BUILD)

# The Windows port: mingw-w64 from Debian, the libraries built once by scripts/windows-libs into
# a cache outside the clone, the tests run under Wine with a Wine prefix inside the build folder.
WINDOWS_BUILD := build-windows

.PHONY: windows windows-installer test-windows clean-windows

windows:
	@JOBS=$(JOBS) ./packaging/windows/make-windows $(WINDOWS_BUILD)

windows-installer: windows

test-windows: windows
	@JOBS=$(JOBS) ./tests/windows/run-tests $(WINDOWS_BUILD)

clean-windows:
	@rm -rf $(WINDOWS_BUILD)
