# make        builds build/x86/Orvalix.exe and build/x64/Orvalix.exe, nothing else
# make run    builds the one this host runs (x86 where it can) and the demo
#             driver, runs Orvalix under Wine (on Xvfb when there is no display)
# make test   builds both and the tests, runs every test of each build this
#             host can run (the other's Wine tests are reported skipped)
# make dist   builds both, writes dist/Orvalix-1.1.3.zip and its checksum
# make fuzz, make bench: longer fuzzing runs, timings (see README.md)
# Each first installs what is missing (Debian 12, as root). Another build tree:
# make test BUILD=build-x. A step that succeeds prints one line; one that fails
# prints all its output (kept in $(BUILD)/logs).
BUILD := build
ARCHES := x86 x64
LOGS := $(BUILD)/logs
QUIET := sh cmake/quiet.sh
# The build whose programs this host runs: x86 where it runs 32-bit code and
# 32-bit Wine is there, else x64. Expanded only by the recipes that use it,
# after the dependencies are installed.
RUN_ARCH = $(shell sh cmake/host-runs-x86.sh && [ -x /usr/lib/wine/wine ] && echo x86 || echo x64)
# Builds one target in every tree.
BUILD_ALL = sh -c 'for a in $(ARCHES); do cmake --build $(BUILD)/$$a --target $(1) || exit 1; done'

.PHONY: all deps configure build run test dist fuzz bench clean
all: build

deps:
	@sh cmake/install-deps.sh

# The tests that run on Linux alone are the same for both builds: the x86
# tree runs them.
configure: deps
	@for a in $(ARCHES); do \
	  [ -f $(BUILD)/$$a/build.ninja ] || $(QUIET) $(LOGS)/configure-$$a.log "" \
	    cmake --preset $$a -B $(BUILD)/$$a -DORVALIX_HOST_TESTS=$$([ $$a = x86 ] && echo ON || echo OFF) \
	  || exit 1; done

build: configure
	@$(QUIET) $(LOGS)/build.log "" $(call BUILD_ALL,Orvalix)
	@for a in $(ARCHES); do \
	  echo "Built $(BUILD)/$$a/Orvalix.exe ($$(stat -c %s $(BUILD)/$$a/Orvalix.exe) bytes)"; done

run: configure
	@$(QUIET) $(LOGS)/build.log "Built $(BUILD)/$(RUN_ARCH)/Orvalix.exe and the demo driver" \
	  cmake --build $(BUILD)/$(RUN_ARCH) --target e2e_tests
	@sh cmake/run-demo.sh $(BUILD)/$(RUN_ARCH)

test: configure
	@$(QUIET) $(LOGS)/build.log "Built both Orvalix.exe and the tests" $(call BUILD_ALL,test_programs)
	@sh cmake/test-all.sh $(BUILD) $(ARCHES)

FUZZ_RUNS ?= 1000000
FUZZ_TARGETS := $(patsubst tests/fuzz/fuzz_%.cpp,%,$(wildcard tests/fuzz/fuzz_*.cpp))
fuzz: configure
	@$(QUIET) $(LOGS)/build.log "Built the fuzz targets" cmake --build $(BUILD)/x86 --target fuzz
	@for t in $(FUZZ_TARGETS); do \
	  echo "fuzz_$$t:"; \
	  tests/fuzz/run.sh $(BUILD)/x86/fuzz/fuzz_$$t tests/fuzz/corpus/$$t $(BUILD)/x86/fuzz/work/$$t \
	    -runs=$(FUZZ_RUNS) || exit 1; \
	done

# Each build this host runs, against reference exes of its own architecture:
# those that start as Orvalix does, then the bare ones.
BENCH_ROUNDS ?= 5
bench: configure
	@$(QUIET) $(LOGS)/build.log "Built both Orvalix.exe and the benchmarks" $(call BUILD_ALL,bench)
	@for a in $(ARCHES); do \
	  t=$(BUILD)/$$a; echo "$$a:"; \
	  cmake/with-display.sh $$t/wine cmake/wine-run.sh $$t/wine $$t/tests/bench.exe \
	    $$t/Orvalix.exe $$t/tests/ref_dialog_as_orvalix.exe $$t/tests/ref_poll_as_orvalix.exe \
	    $$t/tests/ref_dialog.exe $$t/tests/ref_poll.exe $(BENCH_ROUNDS) 2>&1 | \
	    grep -v 'Read access denied'; \
	done

dist: build
	@sh cmake/dist.sh $(BUILD)

clean:
	rm -rf $(BUILD) dist
