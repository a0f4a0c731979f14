# One entry point for a fresh Debian 12 machine: `make test`, `make play`.
SHELL := /bin/bash
JOBS  ?= $(shell nproc)
BUILD ?= build
ASAN  ?= build-asan
FUZZ  ?= build-fuzz
TSAN  ?= build-tsan
FUZZ_SECONDS ?= 600
FUZZ_RUNS ?= -1
# OFF builds a campaign without ASan and UBSan: about three times the inputs per
# CPU-second. Use its own FUZZ folder; make fuzz-keep replays what it grew under
# the sanitizers.
FUZZ_SANITIZE ?= ON
GROWN ?= $(FUZZ)
CHAOS_SECONDS ?= 600
# ccache sees paths below the checkout as relative, so a fresh clone reuses its hits.
# With -g it would also hash the build folder's absolute path unless told not to,
# and every clone at a new path would compile everything again.
export CCACHE_BASEDIR ?= $(CURDIR)
export CCACHE_NOHASHDIR ?= 1

PACKAGES := cmake g++ make qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev \
            clang libclang-rt-14-dev xvfb xauth fonts-noto-cjk ccache \
            dpkg-dev file desktop-file-utils groff-base systemd \
            qt6-websockets-dev qt6-httpserver-dev emscripten nodejs npm chromium \
            libsqlite3-dev sqlite3 libsodium-dev clang-tidy clang-format lintian \
            postgresql libpq-dev haproxy qt6-l10n-tools

.PHONY: deps configure build test test-main test-asan test-tsan lint play bench fuzz fuzz-build fuzz-keep format \
        package clean

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    case $$p in npm) command -v npm >/dev/null && continue;; esac; \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  if [ "$$(id -u)" -ne 0 ]; then SUDO=sudo; fi; \
	  $$SUDO apt-get update && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y $$missing; \
	fi

# Every build here holds the tree to Debian 12's compilers with warnings as errors.
configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARN_WERROR=ON

build: configure
	QT_QPA_PLATFORM=offscreen cmake --build $(BUILD) -j $(JOBS)

test-main: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Sanitizer build with clang: the Qt-free libraries, the daemon and the bots,
# plus a bounded run of the fuzz targets.
test-asan: deps
	CC=clang CXX=clang++ cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug \
	  -DQUARN_SANITIZE=ON -DQUARN_GUI=OFF -DQUARN_FUZZ=ON -DQUARN_BENCH=OFF -DQUARN_WERROR=ON
	QT_QPA_PLATFORM=offscreen cmake --build $(ASAN) -j $(JOBS)
	cd $(ASAN) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# ThreadSanitizer with clang: only the programs that start threads (the arena,
# the benchmarks' drivers and the quarnd they play against) and their tests,
# labelled "threads".
test-tsan: deps
	CC=clang CXX=clang++ cmake -S . -B $(TSAN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DQUARN_TSAN=ON -DQUARN_GUI=OFF -DQUARN_FUZZ=OFF -DQUARN_BENCH=ON -DQUARN_WERROR=ON
	cmake --build $(TSAN) -j $(JOBS) --target quarn-arena bench_drivers_check quarnd
	cd $(TSAN) && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -L threads

# Layout (clang-format) over the tree and clang-tidy over the product code.
lint: build
	bash tools/lint.sh $(BUILD) $(JOBS)

# The main build and its tests first (lint reads that build's compile commands);
# then the two sanitizer builds and lint side by side, two at a time: the tests'
# waits on sockets and timers leave a core idle that the other part takes.
test: test-main
	$(MAKE) --no-print-directory -j2 --output-sync=target test-asan test-tsan lint

play: build
	bash tools/play.sh $(BUILD)/bin

# The Debian packages quarn, quarn-server and quarn-server-console, in $(BUILD)/packages.
package: build
	cd $(BUILD) && cpack
	@ls $(BUILD)/packages/*.deb

bench: build
	@for b in $(BUILD)/bin/bench_*; do echo "== $$b"; $$b || exit 1; done

# Campaigns run optimised (with the same sanitizers): an unoptimised build
# spends most of its time in calls that the optimiser folds away.
fuzz-build: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DQUARN_SANITIZE=$(FUZZ_SANITIZE) -DQUARN_GUI=OFF -DQUARN_FUZZ=ON -DQUARN_BENCH=OFF
	cmake --build $(FUZZ) -j $(JOBS) --target fuzz_protocol fuzz_service fuzz_client quarnd quarn-bot

fuzz: fuzz-build
	mkdir -p $(FUZZ)/fuzz-corpus $(FUZZ)/fuzz-corpus-service $(FUZZ)/fuzz-corpus-client
	$(FUZZ)/bin/fuzz_protocol -max_total_time=$(FUZZ_SECONDS) -runs=$(FUZZ_RUNS) \
	  -print_final_stats=1 $(FUZZ)/fuzz-corpus fuzz/corpus
	$(FUZZ)/bin/fuzz_service -max_total_time=$(FUZZ_SECONDS) -runs=$(FUZZ_RUNS) -max_len=4096 \
	  -print_final_stats=1 $(FUZZ)/fuzz-corpus-service fuzz/corpus_service
	$(FUZZ)/bin/fuzz_client -max_total_time=$(FUZZ_SECONDS) -runs=$(FUZZ_RUNS) -max_len=32768 \
	  -print_final_stats=1 $(FUZZ)/fuzz-corpus-client fuzz/corpus_client
	bash tests/chaos/chaos.sh $(FUZZ)/bin $(CHAOS_SECONDS)

# What a campaign found that the kept seeds do not reach, added to the tree's
# corpora (minimized), so that the bounded runs of make test start from it.
# Every grown input runs once first in the sanitizer build, which stops at a
# fault: a campaign without sanitizers (GROWN=its folder) gets its memory checks
# here. (The merge itself would skip an input that crashes.)
fuzz-keep:
	$(MAKE) fuzz-build FUZZ_SANITIZE=ON
	$(FUZZ)/bin/fuzz_protocol -runs=0 $(GROWN)/fuzz-corpus
	$(FUZZ)/bin/fuzz_service -runs=0 -max_len=4096 $(GROWN)/fuzz-corpus-service
	$(FUZZ)/bin/fuzz_client -runs=0 -max_len=32768 $(GROWN)/fuzz-corpus-client
	$(FUZZ)/bin/fuzz_protocol -merge=1 -use_counters=0 fuzz/corpus $(GROWN)/fuzz-corpus
	$(FUZZ)/bin/fuzz_client -merge=1 -use_counters=0 -max_len=32768 fuzz/corpus_client $(GROWN)/fuzz-corpus-client
	bash fuzz/keep_service_seeds.sh $(FUZZ)/bin/fuzz_service $(GROWN)/fuzz-corpus-service

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN) $(FUZZ) $(TSAN)
