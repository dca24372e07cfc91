BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
JOBS ?= $(shell nproc)

.PHONY: all deps build run match screenshot bench test test-long sanitize clean weights strength package docs translations

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# The main job: the game, from the build directory (a working installation).
# Without a display it says so and fails.
run: build
	@$(BUILD)/QUORLA32

# A match to watch, long enough (about 4 s) for its result to be significant:
# the simple strategy against the computer player at its top level, with the
# shipped default networks.
RUN_GAMES ?= 2000
match: build
	@echo "Quorla: $(RUN_GAMES) games to 100 points, the simple strategy against shown level 4"
	@$(BUILD)/quorla-lab arena simple net:3 --games $(RUN_GAMES) --seed 1

# Pictures of the table at scale 1, 2 and 2.5, drawn without a display.
screenshot: build
	@$(BUILD)/quorla-screenshot $(BUILD)/quorla.png --moves 1
	@$(BUILD)/quorla-screenshot $(BUILD)/quorla@2x.png --scale 2 --moves 1
	@$(BUILD)/quorla-screenshot $(BUILD)/quorla@2.5x.png --scale 2.5 --moves 1
	@echo "Saved $(BUILD)/quorla.png, $(BUILD)/quorla@2x.png and $(BUILD)/quorla@2.5x.png"
	@for end in gin:108 layoff:2 undercut:10; do \
	  for scale in 1 1.5 2.5; do \
	    $(BUILD)/quorla-screenshot $(BUILD)/hand-end-$${end%%:*}@$${scale}x.png --moves 2 --seed $${end#*:} --scale $$scale >/dev/null || exit 1; \
	  done; \
	done
	@echo "Saved the ends of a gin, a knock with a layoff and an undercut at 1x, 1.5x and 2.5x as $(BUILD)/hand-end-*.png"

# The position network's evaluations, then the window's start-up, switch
# and close times (on one core, as a person's machine would run them), then
# the neural library's digits and exclusive-or benchmark.
bench: build
	@$(BUILD)/neural-bench
	@taskset -c 1 $(BUILD)/quorla-bench
	@taskset -c 1 $(BUILD)/nxbench digits; taskset -c 1 $(BUILD)/nxbench xor

# Regenerates the shipped default networks; the committed data/QLDEFLT.QLF is
# exactly what this produces.
WEIGHTS_SEED ?= 1
weights: build
	@$(BUILD)/quorla-lab train --out data/QLDEFLT.QLF --seed $(WEIGHTS_SEED)
	@cmake -S . -B $(BUILD) >/dev/null && cmake --build $(BUILD) -j $(JOBS) >/dev/null

# Whether learning by play keeps the top level's strength: the shipped level
# and what 5,000 games of learning against simple make of it, measured on
# 20,000 games each (about three minutes on one core).
strength: build
	@scripts/strength.sh --build $(BUILD)

# The neural library's API reference from its public headers, into
# $(BUILD)/neural/docs/html; an install afterwards puts it under
# share/doc/neural/html. Any Doxygen warning fails it.
docs: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) --target neural_docs

# The translators' files brought up to the string table: po/quorla.pot
# written afresh, and each language's po/<language>.po merged with it (new
# texts come in untranslated, changed ones marked fuzzy).
translations: build
	@$(BUILD)/quorla-texts pot po/quorla.pot
	@for po in po/*.po; do msgmerge --quiet --update --backup=none $$po po/quorla.pot && msgfmt --check --statistics -o /dev/null $$po; done

# The Debian package of the game, built into $(BUILD)/.
package: build
	@cmake --build $(BUILD) --target package

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The suite's long mode: the damaged-file campaigns on 500 files and the
# table monkey on 12 seeds of 4,000 steps (a few minutes more than test).
test-long: build
	@cd $(BUILD) && QUORLA_LONG=1 ctest --output-on-failure -j $(JOBS)

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
