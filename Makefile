# The two commands of the README: `make run` and `make test`.
PRESET ?= release
BUILD_DIR := build/$(PRESET)

FUZZ_SECONDS ?= 60

.PHONY: run test bench deps build check-sanitized fuzz package windows

deps:
	@tools/install-deps

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

run: build
	$(BUILD_DIR)/bin/korvelin

test: build
	ctest --preset $(PRESET)

# The engine and korvelin-calc, then the JPEG loader, the map viewer and the start-up (offscreen).
bench: build
	cmake --build --preset $(PRESET) --target korvelin-bench korvelin-bench-ui
	$(BUILD_DIR)/bin/korvelin-bench
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bin/korvelin-bench-ui

# The whole suite again, built with clang's address and undefined-behaviour sanitizers.
check-sanitized: deps
	cmake --preset sanitize
	cmake --build --preset sanitize
	ctest --preset sanitize

# Each libFuzzer target for FUZZ_SECONDS on its seed corpus; fails on a finding.
fuzz: deps
	cmake --preset sanitize
	cmake --build --preset sanitize
	tools/run-fuzzers build/sanitize $(FUZZ_SECONDS)

# A Debian package of the release build in build/release.
package: build
	cd $(BUILD_DIR) && cpack

# The Windows edition, cross-built with Debian's mingw-w64 (Qt and libjpeg-turbo from Debian's
# sources, built once into ~/.cache/korvelin-windows): build/windows/korvelin-VERSION-windows-x64.zip
# and the installer korvelin-VERSION-windows-x64.msi beside it. tools/check-windows then runs
# them under Wine.
windows: build
	tools/build-windows
