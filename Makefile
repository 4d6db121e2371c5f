# Valmerin: the two everyday commands are `make run` and `make test`.
BUILD      ?= build
WINBUILD   ?= build-windows
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

BASE_PACKAGES    := cmake g++ make qt6-base-dev qt6-translations-l10n libgl-dev libarchive-dev libgtest-dev libgmock-dev fonts-dejavu-core
WINDOWS_PACKAGES := cmake g++-mingw-w64-x86-64-posix wine wine64 libgtest-dev libgmock-dev \
                    libz-mingw-w64-dev dpkg-dev qt6-base-dev qt6-translations-l10n xz-utils xvfb xauth x11-utils xdotool imagemagick zip \
                    fonts-wine
WINDOWS_PACKAGE_PACKAGES := nsis zip
BENCH_PACKAGES   := libbenchmark-dev xvfb xauth
FUZZ_PACKAGES    := clang-14 libclang-rt-14-dev
PACKAGE_PACKAGES := dpkg-dev file xvfb xauth scdoc man-db lintian appstream desktop-file-utils
EMULATOR_PACKAGES := dosbox nasm wine wine64 g++-mingw-w64-x86-64-posix

.PHONY: all deps deps-windows build run test test-windows test-sanitize bench fuzz package clean test-emulators

all: build

deps:
	@scripts/install-packages $(BASE_PACKAGES)

deps-windows:
	@scripts/install-packages $(WINDOWS_PACKAGES)

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

# The demo catalogue is copied afresh each time, so the files in the repository never change.
run: build
	rm -rf $(BUILD)/demo-run
	mkdir -p $(BUILD)/demo-run
	if [ -d examples/demo ]; then cp -a examples/demo/. $(BUILD)/demo-run/; fi
	cd $(BUILD)/demo-run && ../valmerin

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The whole suite again as an unprivileged user (created when missing), where
# permission bits really stop writes; reuses the build of `make test`.
.PHONY: test-user
test-user: build
	BUILD=$(BUILD) JOBS=$(JOBS) scripts/test-user

# The handed-folder attacks as an ordinary user, with a second account as the
# attacker (both created when missing); reuses the build of `make test`.
.PHONY: test-attack
test-attack: build
	BUILD=$(BUILD) scripts/test-attack

# Real DOSBox and Wine on recorders of ours, through the real launch. The Wine
# prefix is made afresh once per run (its first start is the slow one) and shared.
EMULATOR_PREFIX = $(CURDIR)/$(BUILD)/emulator-prefix
test-emulators: deps
	@scripts/install-packages $(EMULATOR_PACKAGES)
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVALMERIN_EMULATOR_TESTS=ON $(CMAKE_ARGS)
	cmake --build $(BUILD) -j $(JOBS) --target valmerin_tests_emulators
	rm -rf $(EMULATOR_PREFIX)
	WINEPREFIX=$(EMULATOR_PREFIX) WINEDEBUG=-all wine wineboot --init
	WINEPREFIX=$(EMULATOR_PREFIX) wineserver --wait
	cd $(BUILD) && WINEPREFIX=$(EMULATOR_PREFIX) WINEDEBUG=-all \
	    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
	    VALMERIN_DOS_RECORDER=$(CURDIR)/$(BUILD)/emulator-recorders/Dos4GW.exe \
	    VALMERIN_WINDOWS_RECORDER=$(CURDIR)/$(BUILD)/emulator-recorders/ZSnes.exe \
	    timeout 300 ./valmerin_tests_emulators
	WINEPREFIX=$(EMULATOR_PREFIX) wineserver --kill || true

# Valmerin for Windows, cross-built with MinGW-w64 (scripts/windows says how Qt
# for MinGW is found: QT_MINGW_PREFIX=..., else ../shared/qt6-mingw's archive).
.PHONY: windows windows-package
windows: deps-windows
	WINBUILD=$(WINBUILD) JOBS=$(JOBS) CMAKE_ARGS="$(CMAKE_ARGS)" scripts/windows build

# The core and window tests under Wine, then the real program under Wine and Xvfb.
test-windows: deps-windows
	WINBUILD=$(WINBUILD) JOBS=$(JOBS) CMAKE_ARGS="$(CMAKE_ARGS)" scripts/windows test

# The portable zip and the installer, in $(WINBUILD)/packages.
windows-package: deps-windows
	@scripts/install-packages $(WINDOWS_PACKAGE_PACKAGES)
	WINBUILD=$(WINBUILD) JOBS=$(JOBS) CMAKE_ARGS="$(CMAKE_ARGS)" scripts/windows package

test-sanitize: deps
	cmake -S . -B build-sanitize -DVALMERIN_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
	cmake --build build-sanitize -j $(JOBS)
	cd build-sanitize && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
	    UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(WINBUILD) build-sanitize build-bench build-fuzz

# The Debian package lands in $(BUILD)/packages. The build folder is configured
# again after the packaging tools are in, so CPack is set up and finds them.
.PHONY: test-package
package: build
	@scripts/install-packages $(PACKAGE_PACKAGES)
	cmake -S . -B $(BUILD)
	cd $(BUILD) && cpack -G DEB

# Builds, installs, starts and removes the package on this machine (needs root).
test-package:
	BUILD=$(BUILD) scripts/test-package

# Every fuzz target for FUZZ_SECONDS (default 60) each, one after another; inputs
# that reach new code are merged into fuzz/corpus.
FUZZ_SECONDS ?= 60
fuzz:
	@scripts/install-packages $(FUZZ_PACKAGES)
	FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) scripts/fuzz

# Release build in build-bench, generated data in a temporary folder, one table of
# ratios on standard output (bench/README.md says how to read it).
bench: deps
	@scripts/install-packages $(BENCH_PACKAGES)
	BENCH_BUILD=build-bench JOBS=$(JOBS) scripts/bench
