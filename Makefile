# The user-facing commands. Every target installs what it needs first.
#   make run                  build, then run every program headless into build/showcase/
#   make run PROGRAM=<name>   build, then run one program under Wine
#   make test                 build everything and run every test
#   make build                build the compilers (tessaric, tessaric.exe) and every deliverable into build/bin/
#   make dist                 build everything and write the Windows package build/dist/tessaric-win32.zip
#   make install PREFIX=dir   install the compiler, the runtime it builds with and the language page
#                             into dir/bin, dir/lib/tessaric, dir/share/doc/tessaric (default /usr/local)
#   make sizes                each deliverable's size beside its limit; fails when one is over
#   make bench                the runtime's hot paths timed beside the C runtime and the C++ library,
#                             compiled BASIC kernels beside the same in C (-O2), and the compiler's
#                             speed beside the C++ compiler's on the code it emits
BUILD ?= build
PROGRAM ?=
PREFIX ?= /usr/local
JOBS ?= 2
MAKEFLAGS += --no-print-directory

.PHONY: setup configure build build-all run test dist install sizes bench clean

setup:
	@scripts/setup.sh

configure: setup
	@[ -f $(BUILD)/CMakeCache.txt ] || cmake -S . -B $(BUILD) \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS) --target deliverables compiler_win32

build-all: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@cmake --build $(BUILD) -j $(JOBS) --target showcase_driver
	@scripts/run.sh $(BUILD) $(PROGRAM)

test: build-all
	@scripts/wine-session.sh $(BUILD) ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The package is part of every full build; this names it.
dist: build-all
	@echo "package: $(BUILD)/dist/tessaric-win32.zip"

install: configure
	@cmake --build $(BUILD) -j $(JOBS) --target kit
	@scripts/install/install.sh $(BUILD) $(PREFIX)

sizes: build
	@scripts/sizes.sh $(BUILD)

bench: configure
	@cmake --build $(BUILD) -j $(JOBS) --target runtime_bench deliverables bench_kernels
	@scripts/wine-session.sh $(BUILD) wine $(BUILD)/tests/bench/runtime_bench.exe
	@scripts/wine-session.sh $(BUILD) scripts/bench_kernels.sh $(BUILD)
	@TESSARIC_COMPILER=$(abspath $(BUILD))/tessaric TESSARIC_TMP=$(abspath $(BUILD))/test-tmp \
	    $(BUILD)/compiler/tests/compiler_bench

clean:
	rm -rf $(BUILD)
