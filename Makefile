# make        builds build/Orvalix.exe
# make run    builds it and runs it under Wine (on Xvfb when there is no display)
# make test   builds it and runs every test
# Each first installs what is missing (Debian 12, as root).
BUILD := build
WINE_STATE := $(BUILD)/wine

.PHONY: all deps configure build run test dist clean
all: build

deps:
	@sh cmake/install-deps.sh

configure: deps
	@[ -f $(BUILD)/build.ninja ] || cmake --preset default >/dev/null

build: configure
	@cmake --build $(BUILD)

run: build
	@sh cmake/run-demo.sh $(BUILD)

test: build
	@cmake/with-display.sh $(WINE_STATE) ctest --test-dir $(BUILD) --output-on-failure

dist: build
	@sh cmake/dist.sh $(BUILD)

clean:
	rm -rf $(BUILD) dist
