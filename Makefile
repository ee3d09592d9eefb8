# make test: install what is missing, build everything, run every test.
# make run:  build and play the example scenario through tastron-sim.
NATIVE := build/native
JOBS ?= $(shell nproc)

.PHONY: all deps native test run clean format

all: native

deps:
	@scripts/install-deps

native: deps
	cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTASTRON_SANITIZE=ON
	cmake --build $(NATIVE) -j $(JOBS)

test: native
	ctest --test-dir $(NATIVE) --output-on-failure -j $(JOBS)

run: native
	$(NATIVE)/tastron-sim tests/scenarios/example-shift-space.script

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
