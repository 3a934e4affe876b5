# make test: install what is missing, build both, run the native tests and the
#            Windows tests under Wine.
# make demo: install what is missing, build, run the demo host.
# make fuzz: install clang and libFuzzer if missing, build the fuzz harnesses,
#            run each for FUZZ_SECONDS seconds.
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60

.PHONY: all bootstrap native win32 win64 bench fuzz test test-native test-win32 test-win64 demo format clean

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

# The product is the 32-bit DLL. A machine whose kernel runs no 32-bit
# programs (wine-run --can-run i686 fails) runs the same Windows tests on the
# x86_64 build of the same sources instead, and says so.
test-win32: win32
	@if scripts/wine-run --can-run i686; then \
	    ctest --preset win32 -j $(JOBS); \
	else \
	    echo "make test: this machine runs no 32-bit programs: the Windows tests of the i686 build are skipped and run on the x86_64 build"; \
	    $(MAKE) --no-print-directory test-win64; \
	fi

test-win64: win64
	ctest --preset win64 -j $(JOBS)

test: test-native test-win32

# The demo runs Setup.dll under Wine: the i686 build, or the x86_64 one on a
# machine that runs no 32-bit programs (as test-win32).
demo: native
	@if scripts/wine-run --can-run i686; then \
	    $(MAKE) --no-print-directory win32 && scripts/demo; \
	else \
	    echo "make demo: this machine runs no 32-bit programs: the demo runs on the x86_64 build"; \
	    $(MAKE) --no-print-directory win64 && SETUP_BUILD_DIR=build/win64 scripts/demo; \
	fi

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
