# The two commands a newcomer needs: `make play` and `make check`; and what
# players install: `make deb` and `make windows-installer`.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: play check setup setup-check build build-check clean deb

# Packages for building and playing only; the test tools come with check.
setup:
	@bash tools/setup.sh play

setup-check:
	@bash tools/setup.sh check

build: setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDUSK_TESTS=OFF -DDUSK_BENCH=OFF
	cmake --build $(BUILD) -j$(JOBS)

build-check: setup-check
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDUSK_TESTS=ON -DDUSK_BENCH=ON
	cmake --build $(BUILD) -j$(JOBS)

# Builds the game and its packs, then starts it.
play: build
	$(BUILD)/bin/duskmatch

# Builds everything and runs every test.
check: build-check
	cd $(BUILD) && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest --output-on-failure -j$(JOBS)

clean:
	rm -rf $(BUILD)

# The Debian package, build-deb/duskmatch_<version>_<arch>.deb, built by
# debhelper with the CMake build in build-deb/obj, then checked by lintian.
deb:
	@bash tools/setup.sh deb
	dpkg-checkbuilddeps
	rm -rf build-deb
	debian/rules clean
	DUSK_DEB_DIR=$(CURDIR)/build-deb DEB_BUILD_OPTIONS="parallel=$(JOBS) noddebs" debian/rules binary
	debian/rules clean
	lintian --info build-deb/*.deb || true
	@ls -l build-deb/*.deb

# The Windows version, cross-built with mingw-w64 and tested under Wine
# (Linux-only tools and packs come from $(BUILD)).
.PHONY: windows-setup windows-deps windows windows-installer windows-check windows-test

windows-setup:
	@bash tools/windows/setup.sh

# The static Windows libraries, built once into build-windows/deps (or
# DUSK_WINDOWS_DEPS).
windows-deps: windows-setup
	JOBS=$(JOBS) bash tools/windows/build_deps.sh

# build-windows/Duskmatch/ (Duskmatch.exe and the three packs) and
# build-windows/Duskmatch.zip.
windows: setup windows-setup
	DUSK_LINUX_BUILD=$(BUILD) JOBS=$(JOBS) bash tools/windows/build.sh

# The installer, build-windows/Duskmatch-<version>-setup.exe (NSIS).
windows-installer: windows
	bash tools/windows/installer.sh

# The program under Wine on a virtual display, beside the Linux program,
# then the installer: install, start, quit, uninstall.
windows-check: windows-installer
	cmake --build $(BUILD) -j$(JOBS) --target duskmatch duskpack
	DUSK_LINUX_BUILD=$(BUILD) bash tools/windows/smoke_test.sh

# The unit tests of the cross build, run under Wine by CTest; the menu tests
# read the packs of the Linux build.
windows-test: build windows-deps
	cmake -S . -B build-windows/test -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDUSK_TESTS=ON -DDUSK_LINUX_BUILD=$(CURDIR)/$(BUILD)
	cmake --build build-windows/test -j$(JOBS)
	cd build-windows/test && ctest --output-on-failure -j$(JOBS)
