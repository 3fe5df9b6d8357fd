# Quorbel: `make run` sets up, builds and starts the program; `make test` sets up, builds and runs the suite.
BUILD_DIR ?= build
SAN_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=
# Where `make install` puts the program; DESTDIR, if given, is put before it (for packagers).
PREFIX ?= /usr/local

.PHONY: all deps configure build run install package test test-sanitize bench bench-build fuzz format clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

configure: deps $(BUILD_DIR)/CMakeCache.txt

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/app/quorbel

# The program, its desktop entry, icons, file type, metainfo, manual pages and completion under
# PREFIX (inside DESTDIR when that is given); nothing is written anywhere else.
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

# The Debian package quorbel_<version>_<arch>.deb, in the build directory.
package: build
	cd $(BUILD_DIR) && cpack -G DEB

# The install script has provided every tool the suite uses: a test that finds one missing fails.
# The benchmark programs are built too, so that they cannot rot, but not run.
test: build
	cmake --build $(BUILD_DIR) -j $(JOBS) --target bench-build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen QUORBEL_REQUIRE_TOOLS=1 ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(SAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DQUORBEL_SANITIZE=ON -DQUORBEL_WERROR=ON $(CMAKE_FLAGS)
	cmake --build $(SAN_DIR) -j $(JOBS)
	cd $(SAN_DIR) && QT_QPA_PLATFORM=offscreen QUORBEL_REQUIRE_TOOLS=1 \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp \
	  ctest --output-on-failure -j $(JOBS)

bench: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target bench

# The benchmark programs built, not run (make test does this too).
bench-build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target bench-build

# Every libFuzzer harness for FUZZ_SECONDS each, built with clang in its own directory.
fuzz:
	@bash scripts/install-deps.sh fuzz
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DQUORBEL_FUZZ=ON $(CMAKE_FLAGS)
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	bash fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(SAN_DIR) $(FUZZ_DIR)
