# Thin wrappers over the CMake presets, so a fresh machine needs one command.
.PHONY: deps build run test package bench clean

JOBS ?= $(shell nproc)

deps:
	bash scripts/install-deps

build: deps
	cmake --preset default
	cmake --build --preset default -j $(JOBS)

run: build
	./build/src/app/twinsift

test: build
	QT_QPA_PLATFORM=offscreen ctest --preset default -j $(JOBS)

# build/twinsift_VERSION_ARCH.deb
package: build
	cd build && cpack

bench: build
	bash bench/compare

clean:
	rm -rf build build-debug
