# make test  — builds both targets, checks the export table, runs every test under Wine
# make dll   — the 32-bit RazozazER4.dll in dist/
# make bench — every benchmark under Wine, one table: library against the
#              floor measured in the same run, their ratio and the target
# make long  — the long runs left out of make test: the 60 s soak and every
#              export against a terminal that never answers (several minutes)
# make demo  — the tour: a stand-in terminal with the DLL loaded by name, every export called once,
#              one table per family, screenshots build/standin.png, build/dialog.png and
#              build/options.png; then
#              probe.exe against standin.exe in Russian and in English
# Each target installs what is missing (tools/setup) and reuses what exists.

.PHONY: all test long dll demo bench setup build32 build64 clean

all: test

setup:
	@tools/setup

build32: setup
	@[ -f build/i686/build.ninja ] || cmake --preset i686 >/dev/null
	@cmake --build --preset i686

build64: setup
	@[ -f build/x86_64/build.ninja ] || cmake --preset x86_64 >/dev/null
	@cmake --build --preset x86_64

dll: build32
	@tools/check-exports
	@mkdir -p dist
	@cp build/i686/bin/RazozazER4.dll dist/
	@echo "dist/RazozazER4.dll"

test: build32 build64
	@tools/check-exports
	@tools/reference --check
	@tools/check-mql4
	@python3 tools/test_mql4check.py -q
	@tools/with-wine ctest --preset x86_64 $(CTEST_ARGS)

long: build32 build64
	@tools/with-wine ctest --preset long $(CTEST_ARGS)

bench: build64
	@cd build/x86_64/bin && ../../../tools/with-wine ../../../cmake/wine-run bench.exe $(BENCH_ARGS)

demo: build64
	@cd build/x86_64/bin && ../../../tools/with-wine ../../../tools/demo

clean:
	rm -rf build dist
