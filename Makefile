# make run   - install what is missing, build, and start TIRA on build/home
# make test  - install what is missing, build, and run every test
# make bench - time `tira --print` over generated homes of 1k … 1M entries per kind
# make fuzz  - run every libFuzzer target for FUZZ_SECONDS (default 60) each
.PHONY: all deps build run test test-asan bench bench-micro fuzz format clean

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

bench-micro: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS) --target tira_micro_bench
	@./build-release/bench/tira_micro_bench

fuzz:
	@bash scripts/install-deps.sh clang-14 libclang-rt-14-dev
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)
	@FUZZ_SECONDS=$(or $(FUZZ_SECONDS),60) bash tests/fuzz/run.sh

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	@rm -rf build build-asan build-release build-fuzz
