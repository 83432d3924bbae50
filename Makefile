# Thin wrapper over the CMake presets; every target configures what it needs, and the targets
# that build first install the Debian packages they need when some are missing.
.PHONY: all help prerequisites build demo docs-images test test-default test-asan test-tsan test-windows bench bless format clean

all: build

help:
	@echo "make demo          build the module, the stand-ins and tovu-host, and run the demo"
	@echo "make docs-images   regenerate the pictures README shows (docs/)"
	@echo "make test          build and run every test, in the default and the asan presets"
	@echo "make build         build everything of the default preset (RelWithDebInfo)"
	@echo "make test-default  the tests of the default preset only"
	@echo "make test-asan     the tests under AddressSanitizer and UndefinedBehaviorSanitizer"
	@echo "make test-tsan     the tests under ThreadSanitizer"
	@echo "make test-windows  cross-compile the module and the stand-ins as Windows DLLs (MinGW-w64) and run"
	@echo "                   their tests under Wine, the Win32 conformance tests against real Win32"
	@echo "make bench         the Google Benchmark programs (Release)"
	@echo "make bless         take the pictures of failed golden-image tests as the new references"
	@echo "make format        clang-format every source file"
	@echo "make prerequisites install the Debian packages the others need (asks for sudo)"
	@echo "make clean         remove every build tree"

prerequisites:
	@bash tools/prerequisites.sh

build: prerequisites
	cmake --preset default
	cmake --build --preset default

# Builds only what the demo runs: the module, the stand-ins and tovu-host, not the tests.
demo: prerequisites
	cmake --preset default
	cmake --build --preset default --target tovu-host tovu-docs-pictures
	rm -f build/default/demo-registry.reg
	TOVU_REGISTRY=build/default/demo-registry.reg ./build/default/bin/tovu-host --journal --gif build/default/demo.gif examples/demo.tovu
	@echo "The registry's Profiles entry after the unload (build/default/demo-registry.reg):"
	@sed -n '/\\Profiles\]/,/^$$/p' build/default/demo-registry.reg
	./build/default/bin/tovu-host preview examples/floorplan.sld -o build/default/floorplan.png --size 800x600
	./build/default/bin/tovu-docs-pictures build/default/placement-drag.png

# The demo's animation and the sample after a placement drag, where README shows them.
docs-images: demo
	mkdir -p docs
	cp build/default/demo.gif docs/demo.gif
	cp build/default/placement-drag.png docs/placement-drag.png

test: prerequisites test-default test-asan

test-default: prerequisites
	cmake --preset default
	cmake --build --preset default
	ctest --preset default

test-asan: prerequisites
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

# The Windows build's packages (MinGW-w64, Wine) are installed here only: the other targets do not need them.
test-windows:
	@TOVU_WINDOWS=1 bash tools/prerequisites.sh
	cmake --preset windows
	cmake --build --preset windows
	ctest --preset windows

test-tsan: prerequisites
	cmake --preset tsan
	cmake --build --preset tsan
	ctest --preset tsan

bench: prerequisites
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
