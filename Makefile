# The two commands a newcomer needs are `make run` and `make test`; the rest serve developers.
PRESET ?= default

.PHONY: all deps configure build run test package package-windows asan bench screenshots screenshots-windows fuzz format clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET)

run: build
	@scripts/start-gridloom.sh build/gridloom

# The cross-compiler and Wine too: the suite also runs as the Windows build under Wine.
test: build
	@scripts/install-deps.sh windows
	@ctest --preset $(PRESET)

# The .deb, in build/; `make test` builds and checks its own copy in a scratch folder.
package: build
	@cmake --build --preset $(PRESET) --target package

# The Windows installer, build-windows/Gridloom-<version>-win64.exe: Qt for Windows is built
# once into a cache outside the clone (scripts/build-qt-windows.sh), the program with MinGW-w64.
package-windows:
	@scripts/install-deps.sh windows
	@scripts/build-windows.sh package

asan:
	@$(MAKE) --no-print-directory test PRESET=asan

bench: build
	@build/bench/header_read_bench
	@build/bench/map_bench build/bench
	@build/bench/input_hours_bench

# The Linux build's pictures, then the same as the Windows build draws them under Wine.
screenshots: build
	@build/tools/gridloom_screenshots build/screenshots
	@scripts/install-deps.sh windows
	@scripts/windows-screenshots.sh build/screenshots/windows

# The same pictures as the Windows build draws them under Wine (MinGW-w64, Wine, Qt for Windows).
screenshots-windows:
	@scripts/windows-screenshots.sh build/screenshots/windows

fuzz:
	@scripts/install-deps.sh fuzz
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz
	@scripts/run-fuzz.sh build-fuzz $(or $(SECONDS),300) $(or $(FUZZER),header_reader_fuzz)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf build build-asan build-fuzz build-windows build-windows-core
