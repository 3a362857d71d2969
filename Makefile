# Druvel: the commands a user and CI need. Everything builds out of tree under build*/.
BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
WERROR     ?= OFF
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 60
SOAK_SECONDS ?= 600

# ccache (when installed) shares objects between clones and worktrees: paths inside the tree
# are hashed relative to it.
export CCACHE_BASEDIR ?= $(CURDIR)
export CCACHE_NOHASHDIR ?= 1

CMAKE_ARGS = -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DDRUVEL_WERROR=$(WERROR)

.PHONY: all deps build translations test test-sanitize test-tsan soak run install package bench fuzz format clean

all: build

deps:
	@bash scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) $(CMAKE_ARGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# Brings the catalogs (English; Japanese for druvel-cli's own texts) up to date with the texts
# marked in the sources (new texts come in untranslated, texts gone from the sources go); the
# build itself never rewrites them.
translations: deps
	@cmake -S . -B $(BUILD) $(CMAKE_ARGS) >/dev/null
	@cmake --build $(BUILD) --target translations

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# AddressSanitizer + UndefinedBehaviorSanitizer over the whole suite.
test-sanitize: deps
	@cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDRUVEL_WERROR=$(WERROR) \
	  -DDRUVEL_SANITIZE=address -DDRUVEL_BENCH=OFF >/dev/null
	@cmake --build build-asan -j $(JOBS)
	@ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir build-asan --output-on-failure -j $(JOBS)

# ThreadSanitizer over the tests that run threads (the engine and the platform layer).
test-tsan: deps
	@cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDRUVEL_WERROR=$(WERROR) \
	  -DDRUVEL_SANITIZE=thread -DDRUVEL_BENCH=OFF >/dev/null
	@cmake --build build-tsan -j $(JOBS)
	@TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan --output-on-failure -j $(JOBS) -L threads

# Random input on the real window (AddressSanitizer build) under Xvfb and openbox for
# SOAK_SECONDS; SOAK_SEED replays a run.
soak: deps
	@cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDRUVEL_WERROR=$(WERROR) \
	  -DDRUVEL_SANITIZE=address -DDRUVEL_BENCH=OFF >/dev/null
	@cmake --build build-asan -j $(JOBS) --target druvel
	@SOAK_SECONDS=$(SOAK_SECONDS) python3 scripts/soak.py build-asan/src/druvel

run: build
	@bash scripts/run.sh $(BUILD)

# Installs the programs, the desktop entry, the icons and the help pages under PREFIX
# (DESTDIR is honoured for packaging).
PREFIX ?= /usr/local
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package (build-package/druvel_VERSION_ARCH.deb) from a Release build of the programs
# alone; install it with `sudo dpkg -i` (or `sudo apt install ./FILE`, which also fetches its
# dependencies).
package: deps
	@cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	  -DDRUVEL_WERROR=$(WERROR) -DDRUVEL_TESTS=OFF -DDRUVEL_BENCH=OFF >/dev/null
	@cmake --build build-package -j $(JOBS) --target package
	@ls build-package/*.deb

# Every benchmark three times; the medians are the figures to quote. Then how far the displays
# follow the sound, where a PulseAudio server is reachable (it says so where none is), and the
# CPU while playing against the other players installed here (docs/DEVELOPING.md).
bench: deps
	@cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DDRUVEL_TESTS=ON >/dev/null
	@cmake --build build-bench -j $(JOBS) --target benchmarks druvel-cli
	@for b in build-bench/bench/bench_*; do [ -x "$$b" ] && echo "== $$b" && "$$b" --benchmark_min_time=0.2 --benchmark_repetitions=3 \
	    --benchmark_report_aggregates_only=true || exit 1; done
	@echo "== scripts/measure-display-drift.sh build-bench"
	@scripts/measure-display-drift.sh build-bench || echo "(some display drift above 20 ms: see above)"
	@echo "== scripts/compare-peers.sh (CPU while playing, against the other players installed)"
	@if command -v audacious >/dev/null || command -v timidity >/dev/null || command -v vlc >/dev/null; then \
	  songs=$$(mktemp -d) && python3 scripts/make-render-songs.py $$songs >/dev/null && \
	  scripts/compare-peers.sh --build build-bench $$songs/dense.mid; status=$$?; rm -rf $$songs; exit $$status; \
	else echo "No other player installed (audacious, timidity, vlc): nothing compared."; fi

# libFuzzer targets under ASan+UBSan, each seeded from fuzz/seeds/NAME (the sample songs when
# there is none); what they find grows fuzz/corpus/NAME. FUZZ_TARGETS picks some of them.
FUZZ_TARGETS ?= $(notdir $(basename $(wildcard fuzz/fuzz_*.cpp)))
fuzz: deps
	@CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDRUVEL_FUZZ=ON >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target fuzzers
	@for name in $(FUZZ_TARGETS); do f=build-fuzz/fuzz/$$name; \
	  corpus=fuzz/corpus/$$name; mkdir -p $$corpus; \
	  seeds=fuzz/seeds/$$name; [ -d $$seeds ] || seeds=tests/data; \
	  echo "== $$f ($(FUZZ_SECONDS) s)"; "$$f" -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 $$corpus $$seeds || exit 1; done

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-asan build-tsan build-bench build-fuzz build-package
