# Tintora: `make run` and `make test` do all set-up on a fresh Debian or Ubuntu
# machine (missing packages are installed first): `make run` only what building
# and running need, `make test` the test tools as well.
BUILD_DIR ?= build
ASAN_BUILD_DIR ?= build-asan
FUZZ_BUILD_DIR ?= build-fuzz
CLANG_BUILD_DIR ?= build-clang
# Seconds that `make fuzz` gives each fuzz target.
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=
# Sources of a library are compiled a few at a time as one unit, so Qt's
# headers are read once per unit rather than once per file: builds on two
# cores take about half as long. UNITY_BUILD=OFF compiles every file alone.
UNITY_BUILD ?= ON
UNITY_FLAGS = -DCMAKE_UNITY_BUILD=$(UNITY_BUILD)

.PHONY: all deps configure build run test asan-configure test-asan test-asan-logic test-clang-models bench fuzz clean
.PHONY: format format-check

all: build

# Which packages `deps` installs (see scripts/install-deps.sh); the targets
# that need more set it for everything they depend on.
DEPS_MODE = run

deps:
	@./scripts/install-deps.sh $(DEPS_MODE)

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(UNITY_FLAGS) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/tintora

test: DEPS_MODE = test
test: build
	cd $(BUILD_DIR) && env -u QT_QPA_PLATFORMTHEME QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The whole suite built with AddressSanitizer (leaks included) and
# UndefinedBehaviorSanitizer; any report fails the test that made it.
SANITIZER_ENV = env -u QT_QPA_PLATFORMTHEME QT_QPA_PLATFORM=offscreen \
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

asan-configure: deps
	cmake -S . -B $(ASAN_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DTINTORA_SANITIZE=ON -DTINTORA_BUILD_BENCH=OFF \
		$(UNITY_FLAGS) $(CMAKE_FLAGS)

test-asan: DEPS_MODE = test
test-asan: asan-configure
	cmake --build $(ASAN_BUILD_DIR) -j $(JOBS)
	cd $(ASAN_BUILD_DIR) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

# Only the tests of logic (no windows) under the sanitizers: what CI runs.
test-asan-logic: asan-configure
	cmake --build $(ASAN_BUILD_DIR) --target tintora_logic_tests -j $(JOBS)
	cd $(ASAN_BUILD_DIR) && $(SANITIZER_ENV) ctest --output-on-failure -L logic -j $(JOBS)

# The exhaustive checks of the numeric code, built with Clang: the colour
# models and the routines that claim exact results must give the same numbers
# whichever compiler builds them.
NUMERIC_TESTS = tst_colormodels_exhaustive tst_colormodels tst_buildindependence
test-clang-models:
	@./scripts/install-deps.sh clang
	cmake -S . -B $(CLANG_BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DTINTORA_BUILD_BENCH=OFF $(UNITY_FLAGS) $(CMAKE_FLAGS)
	cmake --build $(CLANG_BUILD_DIR) --target $(NUMERIC_TESTS) -j $(JOBS)
	cd $(CLANG_BUILD_DIR) && env -u QT_QPA_PLATFORMTHEME QT_QPA_PLATFORM=offscreen \
		ctest --output-on-failure -R '^($(shell echo $(NUMERIC_TESTS) | tr ' ' '|'))$$'

# The Debian package, built with CPack into $(BUILD_DIR)/package.
.PHONY: package
package: DEPS_MODE = package
package: build
	cmake --build $(BUILD_DIR) --target package

bench: build
	./$(BUILD_DIR)/bench/tintora_bench

# The libFuzzer targets, built with Clang in a folder of their own, each run
# for FUZZ_SECONDS seconds.
fuzz:
	@./scripts/install-deps.sh fuzz
	cmake -S . -B $(FUZZ_BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DTINTORA_FUZZ=ON -DTINTORA_BUILD_TESTS=OFF -DTINTORA_BUILD_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD_DIR) --target tintora_fuzz -j $(JOBS)
	FUZZ_BUILD_DIR=$(FUZZ_BUILD_DIR) FUZZ_SECONDS=$(FUZZ_SECONDS) ./scripts/run-fuzz.sh

# Every tracked C++ source formatted as .clang-format says (Debian's
# clang-format, installed with the test tools); format-check changes nothing
# and fails on the first difference, as CI does.
# Outside a git checkout there is no list of tracked files, and the check
# fails rather than passing over nothing.
FORMAT_SOURCES = git rev-parse --is-inside-work-tree >/dev/null && git ls-files -z -- '*.cpp' '*.h' | xargs -0r

format: DEPS_MODE = test
format: deps
	$(FORMAT_SOURCES) clang-format -i

format-check: DEPS_MODE = test
format-check: deps
	$(FORMAT_SOURCES) clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD_DIR) $(ASAN_BUILD_DIR) $(FUZZ_BUILD_DIR) $(CLANG_BUILD_DIR)
