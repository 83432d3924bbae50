# Thin wrapper over the CMake presets; every target configures what it needs.
.PHONY: all build demo test test-default test-asan test-tsan bench bless format clean

all: build

build:
	cmake --preset default
	cmake --build --preset default

# Builds only what the demo runs: the module, the stand-ins and tovu-host, not the tests.
demo:
	cmake --preset default
	cmake --build --preset default --target tovu-host
	./build/default/bin/tovu-host examples/demo.tovu
	./build/default/bin/tovu-host preview examples/floorplan.sld -o build/default/floorplan.png --size 800x600

test: test-default test-asan

test-default:
	cmake --preset default
	cmake --build --preset default
	ctest --preset default

test-asan:
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

test-tsan:
	cmake --preset tsan
	cmake --build --preset tsan
	ctest --preset tsan

bench:
	cmake --preset bench
	cmake --build --preset bench
	@for b in build/bench/bin/*_bench; do [ -x "$$b" ] && "$$b"; done; true

# After a person has looked at a failed golden-image test's *.out.png and *.diff.png.
bless:
	bash testing/bless-golden.sh build/default

format:
	git ls-files '*.h' '*.cpp' | xargs clang-format -i

clean:
	rm -rf build
