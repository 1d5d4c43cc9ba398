# make run                - install what is missing, build, and start TIRA on build/home
# make test               - install what is missing, build, and run every test
# make bench              - time `tira --print` over generated homes of 1k … 1M entries per kind
# make fuzz               - run every libFuzzer target for FUZZ_SECONDS (default 60) each
# make lint               - clang-tidy over src/ with the checks of .clang-tidy
# make package            - the Debian package build-package/tira_<version>_<arch>.deb,
#                           checked with lintian
# make test-windows-core  - cross-compile the Qt-free core and its tests for Windows
#                           (MinGW-w64) and run them under Wine when Wine is installed;
#                           every other file of the Windows build gets a syntax check
.PHONY: all deps build run test test-asan bench bench-micro bench-window fuzz lint package test-windows-core format clean

JOBS ?= $(shell nproc 2>/dev/null || echo 2)

all: build

deps:
	@bash scripts/install-deps.sh

build: deps
	@cmake --preset dev >/dev/null
	@cmake --build --preset dev -j $(JOBS)

build/home: | build
	@cp -r examples/home build/home

run: build build/home
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
		./build/tira --home build/home; \
	else \
		./build/tira --print --home build/home; \
	fi

test: build
	@cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory test-asan

test-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)
	@cd build-asan && ctest --output-on-failure -j $(JOBS)

bench: deps
	@bash bench/report.sh

# The window with a 20,000-line report on a virtual X display.
bench-window: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS) --target tira_window_bench
	@xvfb-run -a -s "-screen 0 1280x1024x24" ./build-release/bench/tira_window_bench 20000 5

bench-micro: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS) --target tira_micro_bench
	@./build-release/bench/tira_micro_bench

fuzz:
	@bash scripts/install-deps.sh clang-14 libclang-rt-14-dev
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)
	@FUZZ_SECONDS=$(or $(FUZZ_SECONDS),60) bash tests/fuzz/run.sh

package: deps
	@bash scripts/install-deps.sh lintian
	@cmake --preset package >/dev/null
	@cmake --build --preset package -j $(JOBS)
	@cd build-package && cpack -G DEB
	@lintian --fail-on error,warning build-package/tira_*.deb

# Slow (Wine starts a whole Windows user space): CI runs it after `make test`.
test-windows-core:
	@bash scripts/install-deps.sh g++-mingw-w64-x86-64 googletest jq nlohmann-json3-dev --optional wine wine64
	@mkdir -p build-mingw/simpleini
	@cp /usr/include/SimpleIni.h build-mingw/simpleini/
	@mkdir -p build-mingw/json && cp -r /usr/include/nlohmann build-mingw/json/
	@cmake --preset mingw >/dev/null
	@cmake --build --preset mingw -j $(JOBS)
	@bash scripts/windows-syntax-check.sh --compiled build-mingw
	@if command -v wine >/dev/null 2>&1; then \
		export WINEPREFIX="$(CURDIR)/build-mingw/wine" WINEDEBUG=-all GTEST_BRIEF=1; \
		log="$(CURDIR)/build-mingw/wine-tests.log"; \
		(cd build-mingw && TZ=Asia/Tokyo ctest -V) >"$$log" 2>&1; \
		status=$$?; \
		[ $$status -eq 0 ] || cat "$$log"; \
		ran=$$(sed -n 's/.*\[==========\] \([0-9]*\) tests\? from .* ran.*/\1/p' "$$log" | head -n 1); \
		passed=$$(sed -n 's/.*\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' "$$log" | head -n 1); \
		failed=$$(sed -n 's/.*\[  FAILED  \] \([0-9]*\) tests\?, listed.*/\1/p' "$$log" | head -n 1); \
		skipped=$$(sed -n 's/.*\[  SKIPPED \] \([0-9]*\) tests\?[.,].*/\1/p' "$$log" | head -n 1); \
		echo "Under Wine: $${ran:-0} tests ran, $${passed:-0} passed, $${failed:-0} failed," \
			"$${skipped:-0} skipped (log: build-mingw/wine-tests.log)"; \
		[ $$status -eq 0 ] && [ "$${ran:-0}" -gt 0 ]; \
	else \
		echo "Wine is not installed: built build-mingw/tests/tira_core_tests.exe, ran nothing"; \
	fi

lint: build
	@bash scripts/install-deps.sh clang-tidy-14
	@bash scripts/lint.sh

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	@rm -rf build build-asan build-release build-fuzz build-package build-mingw build-windows-check
