# The two commands of the README: `make run` and `make test`.
PRESET ?= release
BUILD_DIR := build/$(PRESET)

.PHONY: run test bench deps build

deps:
	@tools/install-deps

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

run: build
	$(BUILD_DIR)/bin/korvelin-calc

test: build
	ctest --preset $(PRESET)

bench: build
	$(BUILD_DIR)/bin/korvelin-bench
