# make test  — builds both targets, checks the export table, runs every test of
#              both builds under Wine: the 64-bit build under wine64, the 32-bit
#              product under 32-bit Wine in qemu-i386; each suite's result at the end
# make test64 / make test32 — the checks and one build's suite
# make dll   — the 32-bit RazozazER4.dll in dist/
# make bench — every benchmark under Wine, one table: library against the
#              floor measured in the same run, their ratio and the target
# make mutants — the planted faults of tools/mutants.tsv, each against the tests
#              of its family, and the score (about an hour; not part of make test)
# make long  — the long runs left out of make test: the 60 s soak and every
#              export against a terminal that never answers (several minutes)
# make demo  — the tour: a stand-in terminal with the DLL loaded by name, every export called once,
#              one table per family, screenshots build/standin.png, build/dialog.png and
#              build/options.png; then
#              probe.exe against standin.exe in Russian and in English
# Each target installs what is missing (tools/setup) and reuses what exists.

.PHONY: all test test64 test32 checks long dll demo bench mutants setup setup32 build32 build64 clean

all: test

setup:
	@tools/setup

setup32: setup
	@tools/setup32

build32: setup
	@[ -f build/i686/build.ninja ] || cmake --preset i686 >/dev/null
	@cmake --build --preset i686

build64: setup
	@[ -f build/x86_64/build.ninja ] || cmake --preset x86_64 >/dev/null
	@cmake --build --preset x86_64

dll: setup
	@[ -f build/i686/build.ninja ] || cmake --preset i686 >/dev/null
	@cmake --build --preset i686 --target RazozazER4
	@tools/check-exports
	@mkdir -p dist
	@cp build/i686/bin/RazozazER4.dll dist/
	@echo "dist/RazozazER4.dll"

checks: build32
	@tools/check-exports
	@tools/reference --check
	@tools/errors --check
	@python3 tools/test_errors.py -q
	@tools/check-bounds
	@tools/check-mql4
	@python3 tools/test_mql4check.py -q

test: checks build64 setup32
	@tools/test-suites x86_64 i686

test64: checks build64
	@tools/test-suites x86_64

test32: checks setup32
	@tools/test-suites i686

long: build32 build64
	@tools/with-wine ctest --preset long $(CTEST_ARGS)

bench: build64
	@cd build/x86_64/bin && ../../../tools/with-wine ../../../cmake/wine-run bench.exe $(BENCH_ARGS)

mutants: setup
	@tools/with-wine tools/mutants $(MUTANTS_ARGS)

# ARCH=i686 make demo: the tour on the 32-bit DLL.
ARCH ?= x86_64
demo: $(if $(filter i686,$(ARCH)),build32 setup32,build64)
	@cd build/$(ARCH)/bin && RAZ_ARCH=$(ARCH) ../../../tools/with-wine ../../../tools/demo

clean:
	rm -rf build dist
