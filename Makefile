# make test: install what is missing, build both, run the native tests and the
#            Windows tests under Wine.
# make demo: install what is missing, build, run the demo host.
# make fuzz: install clang and libFuzzer if missing, build the fuzz harnesses,
#            run each for FUZZ_SECONDS seconds.
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60

.PHONY: all bootstrap native win32 win64 bench fuzz test test-native test-win32 demo format clean

all: native win32

bootstrap:
	@scripts/bootstrap

# Each build is a CMake preset of the same name.
native win32 win64 bench: bootstrap
	cmake --preset $@ >/dev/null
	cmake --build --preset $@ -j $(JOBS)

fuzz:
	@scripts/bootstrap --fuzz
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS) --target fuzzers
	scripts/fuzz $(FUZZ_SECONDS)

test-native: native
	ctest --preset native -j $(JOBS)

# Wine now and then fails to end a finished process (the test then times out):
# a Wine test that timed out is run once more. One that failed is not.
test-win32: win32
	ctest --preset win32 -j $(JOBS) --repeat after-timeout:2

test: test-native test-win32

demo: native win32
	scripts/demo

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
