# The two set-up commands of the README, plus the sanitizer builds that CI runs.
JOBS      ?= $(shell nproc)
# CMake's own progress is enough; the nested makes need not announce every directory.
MAKEFLAGS += --no-print-directory
WERROR    ?= $(or $(KORVEL_WERROR),OFF)
CMAKE_CFG  = cmake -S . -DKORVEL_WERROR=$(WERROR)

.PHONY: run test test-asan test-tsan deps build-korvel build-release build-debug bench fuzz fuzz-ci build-fuzz

deps:
	@sh scripts/install-deps

build-release: deps
	@$(CMAKE_CFG) -B build/release -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build/release -j$(JOBS)

# Only the program and what it links: the window appears without building every test first.
build-korvel: deps
	@$(CMAKE_CFG) -B build/release -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build/release -j$(JOBS) --target korvel

build-debug: deps
	@$(CMAKE_CFG) -B build/debug -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build build/debug -j$(JOBS)

run: build-korvel
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	    echo "No display here: run Korvel under a virtual one with: xvfb-run -a build/release/src/app/korvel --demo"; \
	else \
	    build/release/src/app/korvel --demo; \
	fi

test: build-debug
	ctest --test-dir build/debug --output-on-failure -j$(JOBS)

test-asan: deps
	@$(CMAKE_CFG) -B build/asan -DCMAKE_BUILD_TYPE=Debug -DKORVEL_SANITIZE=address,undefined >/dev/null
	@cmake --build build/asan -j$(JOBS)
	ctest --test-dir build/asan --output-on-failure -j$(JOBS)

test-tsan: deps
	@$(CMAKE_CFG) -B build/tsan -DCMAKE_BUILD_TYPE=Debug -DKORVEL_SANITIZE=thread >/dev/null
	@cmake --build build/tsan -j$(JOBS)
	ctest --test-dir build/tsan --output-on-failure -L serial

bench: build-release
	@for b in build/release/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

# Fuzzing: every harness in fuzz/, each seeded from its corpus. New inputs the fuzzer finds go to
# build/fuzz/found/, not into the repository's corpus.
FUZZ_SECONDS ?= 60
FUZZERS = connect_response gprs_upload hex_text link_receive settings_answers

build-fuzz: deps
	@CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=Debug -DKORVEL_FUZZ=ON >/dev/null
	@cmake --build build/fuzz -j$(JOBS) --target fuzzers

fuzz: build-fuzz
	@for f in $(FUZZERS); do \
	    mkdir -p build/fuzz/found/$$f; \
	    echo "fuzz_$$f: $(FUZZ_SECONDS) s"; \
	    build/fuzz/fuzz/fuzz_$$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	        build/fuzz/found/$$f fuzz/corpus/$$f || exit 1; \
	done

# What CI runs: every corpus input replayed once, then a short run of each harness.
fuzz-ci: build-fuzz
	@for f in $(FUZZERS); do \
	    build/fuzz/fuzz/fuzz_$$f fuzz/corpus/$$f/* >/dev/null 2>&1 || { echo "fuzz_$$f: corpus replay failed"; \
	        build/fuzz/fuzz/fuzz_$$f fuzz/corpus/$$f/*; exit 1; }; \
	done
	@$(MAKE) fuzz FUZZ_SECONDS=20
