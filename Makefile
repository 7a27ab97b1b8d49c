# The two commands a newcomer needs: `make play` and `make check`.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: play check setup build clean

setup:
	@bash tools/setup.sh

build: setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

# Builds the game and its packs, then starts it.
play: build
	$(BUILD)/bin/duskmatch

# Builds everything and runs every test.
check: build
	cd $(BUILD) && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest --output-on-failure -j$(JOBS)

clean:
	rm -rf $(BUILD)
