# make test: install what is missing, build everything, run every test.
# make run:  build and start Tastron under Wine.
# make dist: the zips and installers a Windows user downloads, in dist/.
NATIVE := build/native
JOBS ?= $(shell nproc)

WINDOWS_TARGETS := x86 x64

.PHONY: all deps native windows dist e2e test run clean format fuzz bench

all: native windows

deps:
	@scripts/install-deps

native: deps
	cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTASTRON_SANITIZE=ON
	cmake --build $(NATIVE) -j $(JOBS)

# One folder per Windows build: build/x86/bin (what we ship) and build/x64/bin (for 64-bit
# Windows); both run under Wine here.
windows: deps
	for arch in $(WINDOWS_TARGETS); do \
	  cmake -S . -B build/$$arch -G Ninja -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-$$arch.cmake && \
	  cmake --build build/$$arch -j $(JOBS) || exit 1; \
	done

# The zips and the installers of both builds (the x86 ones also carry the x64 dc64.exe).
dist: windows
	scripts/make-dist

test: native windows
	ctest --test-dir $(NATIVE) --output-on-failure -j $(JOBS)
	for arch in $(WINDOWS_TARGETS); do \
	  python3 tests/win32/check-dll-layout.py build/$$arch/bin/trellin_192.dll $$arch || exit 1; \
	done
	$(MAKE) e2e

# The Wine runs. The 32-bit build, what we ship, runs all of them: the whole scenario corpus,
# random sessions played on both desktops, the library on changed rule files, removed hooks and
# a second process, damaged and huge rule files on both desktops,
# the program beside it (and with a Korean user folder), the key map and hotkey editors, rules
# for one program made in the key map list and applied with that program in front, the
# middle-button editor with settings files and volume steps, what the rule editors and the
# import write into rule files (kept lines, paths under code page 1252, read-only files, links,
# 20 000 lines), the x86 installer and uninstaller with what the zip holds, and every dialog at
# four DPIs with its screenshots at 96 and 144 DPI. The 64-bit build runs what its own code
# decides.
# One fresh Wine prefix is prepared first and copied by every run (a boot costs 15 s); it runs
# both kinds of program. The runs go in two lanes side by side, each on a display and in
# prefixes of its own: the program's runs and the x64 random sessions in one, the library's
# scenario runs of the x86 build and the other x64 runs in the other. A Wine run mostly waits,
# so the pair takes little longer than the longer lane; two of the program's runs side by side
# can miss a click, so they stay in one. Each run's start and end is shown as it happens (a
# hang is seen by name even when something stops the whole test); each lane's whole output is
# shown when both have ended (and kept in build/e2e-LANE.log).
E2E_LANE1 := x86 run-library-check run-damaged-rules run-app run-korean-paths run-dist \
  run-editors run-program-rules run-rule-files run-hotkeys run-settings run-dpi run-admin \
  x64 run-random:30
E2E_LANE2 := x86 run-corpus run-random:30 \
  x64 run-corpus run-library-check run-damaged-rules run-dist
# A machine whose kernel runs no 32-bit code (IA-32 emulation switched off) can run neither the
# x86 build nor an installer under Wine: there the x64 build takes every run, the installers
# are left out (run-dist says so), and the last line says loudly that the build we ship was not
# run. Any other reason Wine's 32-bit half does not run fails the run.
E2E_LANE1_X64 := x64 run-app run-korean-paths run-editors run-program-rules run-rule-files \
  run-hotkeys run-settings run-dpi run-admin
E2E_LANE2_X64 := x64 run-corpus run-random:30 run-library-check run-damaged-rules run-dist
e2e: export TASTRON_WINE_TEMPLATE = $(CURDIR)/build/wine-template
e2e: native windows dist
	tests/e2e/wine-template build/wine-template
	lane1="$(E2E_LANE1)"; lane2="$(E2E_LANE2)"; shipped=1; \
	tests/e2e/runs-32bit; case $$? in \
	0) ;; \
	1) echo "e2e: this machine runs no 32-bit programs: the x64 build takes every Wine run"; \
	   lane1="$(E2E_LANE1_X64)"; lane2="$(E2E_LANE2_X64)"; shipped="" ;; \
	*) echo "e2e: Wine's 32-bit half does not run (see above); scripts/install-deps installs it"; \
	   exit 1 ;; \
	esac; \
	TASTRON_PROGRESS="e2e lane 1: " tests/e2e/run-suite 90 $$lane1 3>&1 >build/e2e-1.log 2>&1 & \
	one=$$!; \
	TASTRON_PROGRESS="e2e lane 2: " tests/e2e/run-suite 120 $$lane2 3>&1 >build/e2e-2.log 2>&1 & \
	two=$$!; \
	status=0; \
	wait $$one || status=1; \
	wait $$two || status=1; \
	cat build/e2e-1.log build/e2e-2.log; \
	[ -n "$$shipped" ] || echo "e2e: NOTE: THE SHIPPED x86 BUILD WAS NOT RUN (this kernel runs no 32-bit code)"; \
	exit $$status

# make run: the 32-bit build (TASTRON_ARCH=x64 for the other).
run: windows
	tests/e2e/run-tastron

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build dist

# make fuzz [FUZZ_SECONDS=N]: run the libFuzzer target on the rule file grammar and the INI model.
# The fuzzer's own exit status is make's: a crash it finds fails the target (its input is kept
# in build/fuzz, the whole log in build/fuzz/fuzz.log).
FUZZ_SECONDS ?= 120
fuzz:
	scripts/install-deps fuzz
	mkdir -p build/fuzz
	clang++ -std=c++20 -g -O1 -I. -fsanitize=fuzzer,address,undefined \
	  tests/fuzz/RuleFileFuzzer.cpp common/RuleRecord.cpp common/RuleFormat.cpp \
	  common/KeyCodePair.cpp common/TextCase.cpp profile/IniDocument.cpp profile/IniFileProfile.cpp \
	  profile/FileReplacement.cpp profile/SectionReplacement.cpp \
	  -o build/fuzz/rule-file-fuzzer
	mkdir -p build/fuzz/corpus
	cd build/fuzz && status=0 && \
	  ./rule-file-fuzzer -max_total_time=$(FUZZ_SECONDS) -max_len=512 corpus >fuzz.log 2>&1 || status=$$?; \
	  tail -5 fuzz.log; exit $$status

# make bench: the native engine's cost per decision (an optimised build, no sanitizers) and,
# under Wine, what one input event costs with no hook, a pass-through hook and trellin_192
# (also with rules for 20 programs; the x86 build only where 32-bit programs run).
bench: deps windows
	cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTASTRON_TESTS=OFF
	cmake --build build/bench --target tastron-bench
	build/bench/tastron-bench
	tests/e2e/run-bench
