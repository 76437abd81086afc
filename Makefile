# VADERO: set-up, build and test entry points.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=
CTEST_FLAGS ?= --output-on-failure -j $(JOBS) --timeout 300
export QT_QPA_PLATFORM ?= offscreen

define configure
	cmake -S . -B $(1) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(2) $(CMAKE_FLAGS)
endef

.PHONY: deps build test check format format-check lint sanitize tsan tsan-build stress demo kernel-test package soak bench fuzz fuzz-smoke clean

deps:
	@scripts/install-deps

build: deps
	@$(call configure,build,)
	cmake --build build -j $(JOBS)

test: build
	ctest --test-dir build $(CTEST_FLAGS)

# The edit-compile-test loop: every test but those labelled slow.
check: build
	ctest --test-dir build $(CTEST_FLAGS) -LE slow

# The project's style on every C++ file; format-check changes nothing and
# fails on a file that differs from it.
SOURCES = $(shell git ls-files '*.cpp' '*.h')
format: deps
	clang-format -i $(SOURCES)

format-check: deps
	clang-format --dry-run --Werror $(SOURCES)

# clang-tidy's checks on every source file of the build, with the build's flags.
lint: build
	scripts/lint build

# The window with emulated calibrators attached, on the desktop's display
# unless QT_QPA_PLATFORM was given.
demo: build
	$(if $(filter file,$(origin QT_QPA_PLATFORM)),env -u QT_QPA_PLATFORM) build/bin/vadero-demo

# lcx3 on the kernel's hidraw path: a virtual machine with a USB HID gadget
# answered by the emulated calibrator.
kernel-test: build
	tests/kernel/run build

# The Debian package, in build/: its own tree, built with Debian's hardening
# flags, so that the developer build keeps its own.
package: deps
	@$(call configure,build-package,-DVADERO_HARDENING=ON -DBUILD_TESTING=OFF)
	cmake --build build-package -j $(JOBS)
	cd build-package && cpack -B $(CURDIR)/build/package
	mkdir -p build && cp build/package/*.deb build/

# The long run of transfers under injected faults, with its figures.
soak: build
	build/bin/vadero_soak --full

sanitize: deps
	@$(call configure,build-asan,-DVADERO_SANITIZE=address)
	cmake --build build-asan -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  ctest --test-dir build-asan $(CTEST_FLAGS)

tsan-build: deps
	@$(call configure,build-tsan,-DVADERO_SANITIZE=thread)
	cmake --build build-tsan -j $(JOBS)

tsan: tsan-build
	TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$(CURDIR)/tests/tsan.supp" \
	  setarch $$(uname -m) -R ctest --test-dir build-tsan $(CTEST_FLAGS)

# The tests with real threads or real time, repeated under ThreadSanitizer
# while every core is kept busy.
stress: tsan-build
	scripts/stress build-tsan

# lcx3's transfers against the real-time emulator, both paces, next to the
# line-time bound; the window's start and its GUI thread's blocks per tick.
bench: deps
	@$(call configure,build-bench,-DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF)
	cmake --build build-bench -j $(JOBS) --target lcx3_bench window_bench
	build-bench/bin/lcx3_bench
	build-bench/bin/window_bench

# Every fuzz target, built with clang, FUZZ_SECONDS each (60 by default).
fuzz: deps
	FUZZ_SECONDS=$${FUZZ_SECONDS:-60} fuzz/run-fuzzers

# Every fuzz target for 10 s from its committed corpus, as CI runs them: only a
# crash or a sanitizer report fails, not a slow machine.
fuzz-smoke: deps
	FUZZ_SMOKE=1 FUZZ_SECONDS=10 fuzz/run-fuzzers

clean:
	rm -rf build build-package build-asan build-tsan build-fuzz build-bench
