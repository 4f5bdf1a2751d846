# make        builds build/Orvalix.exe and nothing else
# make run    builds it and the demo driver, runs Orvalix under Wine (on Xvfb
#             when there is no display)
# make test   builds it and the tests, runs every test
# make dist   builds it, writes dist/Orvalix-1.1.3.zip and its checksum
# make fuzz, make bench: longer fuzzing runs, timings (see README.md)
# Each first installs what is missing (Debian 12, as root). Another build tree:
# make test BUILD=build-x. A step that succeeds prints one line; one that fails
# prints all its output (kept in $(BUILD)/logs).
BUILD := build
WINE_STATE := $(BUILD)/wine
LOGS := $(BUILD)/logs
QUIET := sh cmake/quiet.sh

.PHONY: all deps configure build run test dist fuzz bench clean
all: build

deps:
	@sh cmake/install-deps.sh

configure: deps
	@[ -f $(BUILD)/build.ninja ] || $(QUIET) $(LOGS)/configure.log "" \
	  cmake --preset x86 -B $(BUILD)

build: configure
	@$(QUIET) $(LOGS)/build.log "Built $(BUILD)/Orvalix.exe" \
	  cmake --build $(BUILD) --target Orvalix

run: configure
	@$(QUIET) $(LOGS)/build.log "Built $(BUILD)/Orvalix.exe and the demo driver" \
	  cmake --build $(BUILD) --target e2e_tests
	@sh cmake/run-demo.sh $(BUILD)

test: configure
	@$(QUIET) $(LOGS)/build.log "Built $(BUILD)/Orvalix.exe and the tests" \
	  cmake --build $(BUILD) --target test_programs
	@echo "Testing (a few minutes; output in $(LOGS)/test.log)"
	@$(QUIET) $(LOGS)/test.log --from='tests passed' \
	  cmake/with-display.sh $(WINE_STATE) ctest --test-dir $(BUILD) --output-on-failure

FUZZ_RUNS ?= 1000000
FUZZ_TARGETS := $(patsubst tests/fuzz/fuzz_%.cpp,%,$(wildcard tests/fuzz/fuzz_*.cpp))
fuzz: configure
	@$(QUIET) $(LOGS)/build.log "Built the fuzz targets" cmake --build $(BUILD) --target fuzz
	@for t in $(FUZZ_TARGETS); do \
	  echo "fuzz_$$t:"; \
	  tests/fuzz/run.sh $(BUILD)/fuzz/fuzz_$$t tests/fuzz/corpus/$$t $(BUILD)/fuzz/work/$$t \
	    -runs=$(FUZZ_RUNS) || exit 1; \
	done

BENCH_ROUNDS ?= 5
bench: configure
	@$(QUIET) $(LOGS)/build.log "Built $(BUILD)/Orvalix.exe and the benchmark" \
	  cmake --build $(BUILD) --target bench
	@cmake/with-display.sh $(WINE_STATE) cmake/wine-run.sh $(WINE_STATE) \
	  $(BUILD)/tests/bench.exe $(BUILD)/Orvalix.exe $(BUILD)/tests/ref_dialog.exe \
	  $(BUILD)/tests/ref_poll.exe $(BENCH_ROUNDS) 2>&1 | grep -v 'Read access denied'

dist: build
	@sh cmake/dist.sh $(BUILD)

clean:
	rm -rf $(BUILD) dist
