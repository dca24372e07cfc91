BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
JOBS ?= $(shell nproc)

.PHONY: all deps build run bench test sanitize clean weights

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# Until the game window exists, the main job is a short match to watch:
# the simple strategy against the computer player at its top level, with the
# shipped default networks.
RUN_GAMES ?= 200
run: build
	@echo "Quorla: $(RUN_GAMES) games to 100 points, the simple strategy against shown level 4"
	@$(BUILD)/quorla-lab arena simple net:3 --games $(RUN_GAMES) --seed 1

bench: build
	@$(BUILD)/neural-bench

# Regenerates the shipped default networks; the committed data/QLDEFLT.QLF is
# exactly what this produces.
WEIGHTS_SEED ?= 1
weights: build
	@$(BUILD)/quorla-lab train --out data/QLDEFLT.QLF --seed $(WEIGHTS_SEED)
	@cmake -S . -B $(BUILD) >/dev/null && cmake --build $(BUILD) -j $(JOBS) >/dev/null

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORLA_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	@cd $(SANITIZE_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)

# Fuzzes the readers of saved games, weights, settings and network
# specifications with clang's libFuzzer, each for FUZZ_SECONDS.
FUZZ_SECONDS ?= 60
.PHONY: fuzz
fuzz:
	@JOBS=$(JOBS) fuzz/run_fuzz.sh $(FUZZ_SECONDS)
