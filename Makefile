# make test: install what is missing, build everything, run every test.
# make run:  build and start Tastron under Wine.
# make dist: the zips and installers a Windows user downloads, in dist/.
NATIVE := build/native
JOBS ?= $(shell nproc)

WINDOWS_TARGETS := i686 x86_64

.PHONY: all deps native windows dist e2e test run clean format fuzz bench

all: native windows

deps:
	@scripts/install-deps

native: deps
	cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTASTRON_SANITIZE=ON
	cmake --build $(NATIVE) -j $(JOBS)

# One folder per Windows target: build/i686/bin (what we ship) and build/x86_64/bin (what runs
# under Wine here).
windows: deps
	for arch in $(WINDOWS_TARGETS); do \
	  cmake -S . -B build/$$arch -G Ninja -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-$$arch.cmake && \
	  cmake --build build/$$arch -j $(JOBS) || exit 1; \
	done

# The zips and the installers of both builds (the x86 ones also carry the x86_64 dc64.exe).
dist: windows
	scripts/make-dist

test: native windows
	ctest --test-dir $(NATIVE) --output-on-failure -j $(JOBS)
	for arch in $(WINDOWS_TARGETS); do \
	  python3 tests/win32/check-dll-layout.py build/$$arch/bin/trellin_192.dll || exit 1; \
	done
	$(MAKE) e2e

# The real 64-bit trellin_192.dll under Wine: the whole scenario corpus, then random sessions
# played on both desktops, then the program beside it (and with a Korean user folder), then
# the x64 installer and uninstaller and what the zips hold, the key map and hotkey editors, the
# middle-button editor with settings files and volume steps, and the
# library on changed rule files, removed hooks and a second process, then damaged and huge rule
# files on both desktops.
# One fresh Wine prefix is prepared first and copied by every run (a boot costs 15 s).
e2e: export TASTRON_WINE_TEMPLATE = $(CURDIR)/build/wine-template
e2e: native windows dist
	tests/e2e/wine-template build/wine-template
	tests/e2e/run-corpus
	tests/e2e/run-random 30
	tests/e2e/run-app
	tests/e2e/run-korean-paths
	tests/e2e/run-dist
	tests/e2e/run-editors
	tests/e2e/run-hotkeys
	tests/e2e/run-settings
	tests/e2e/run-library-check
	tests/e2e/run-damaged-rules

run: windows
	tests/e2e/run-tastron

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build dist

# make fuzz [FUZZ_SECONDS=N]: run the libFuzzer target on the rule file grammar and the INI model.
FUZZ_SECONDS ?= 120
fuzz:
	mkdir -p build/fuzz
	clang++ -std=c++20 -g -O1 -I. -fsanitize=fuzzer,address,undefined \
	  tests/fuzz/RuleFileFuzzer.cpp common/RuleRecord.cpp common/RuleFormat.cpp \
	  common/KeyCodePair.cpp common/TextCase.cpp profile/IniDocument.cpp profile/IniFileProfile.cpp \
	  -o build/fuzz/rule-file-fuzzer
	mkdir -p build/fuzz/corpus
	build/fuzz/rule-file-fuzzer -max_total_time=$(FUZZ_SECONDS) -max_len=512 build/fuzz/corpus 2>&1 | tail -5

# make bench: the native engine's cost per decision (an optimised build, no sanitizers) and,
# under Wine, what one input event costs with no hook, a pass-through hook and trellin_192.
bench: deps windows
	cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTASTRON_TESTS=OFF
	cmake --build build/bench --target tastron-bench
	build/bench/tastron-bench
	tests/e2e/run-bench
