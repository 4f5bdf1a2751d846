# make        builds build/Orvalix.exe
# make run    builds it and runs it under Wine (on Xvfb when there is no display)
# make test   builds it and runs every test
# Each first installs what is missing (Debian 12, as root).
BUILD := build
WINE_STATE := $(BUILD)/wine

.PHONY: all deps configure build run test dist fuzz bench clean
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

FUZZ_RUNS ?= 1000000
fuzz: build
	@for t in command_tail expand run_list filter name_buffer log_line; do \
	  echo "fuzz_$$t:"; \
	  tests/fuzz/run.sh $(BUILD)/fuzz/fuzz_$$t tests/fuzz/corpus/$$t $(BUILD)/fuzz/work/$$t \
	    -runs=$(FUZZ_RUNS) || exit 1; \
	done

BENCH_ROUNDS ?= 5
bench: build
	@cmake/with-display.sh $(WINE_STATE) cmake/wine-run.sh $(WINE_STATE) \
	  $(BUILD)/tests/bench.exe $(BUILD)/Orvalix.exe $(BUILD)/tests/ref_dialog.exe \
	  $(BUILD)/tests/ref_poll.exe $(BENCH_ROUNDS) 2>&1 | grep -v 'Read access denied'

dist: build
	@sh cmake/dist.sh $(BUILD)

clean:
	rm -rf $(BUILD) dist
