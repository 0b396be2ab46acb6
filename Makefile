BUILD ?= build
JOBS  ?= $(shell nproc)
# CI turns warnings into errors.
WERROR ?= OFF

.PHONY: deps build test run demo screenshots bench clean

deps:
	scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DARFOLYAM_WERROR=$(WERROR)
	cmake --build $(BUILD) -j$(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# The wizard on the demo database: rates from the live services, or (demo)
# from the bundled sample services on this computer.
run: build
	scripts/run-wizard $(BUILD)

demo: build
	scripts/run-wizard $(BUILD) --demo

# A PNG of every page of an interactive, a history and a failed run, drawn
# off screen against the fake banks.
screenshots: build
	rm -rf $(BUILD)/screenshots
	FIREBIRD_LOCK=$(abspath $(BUILD))/firebird-lock QT_QPA_PLATFORM=offscreen \
	  $(BUILD)/tests/wizard/wizard-screenshots $(BUILD)/screenshots

bench: build
	cmake --build $(BUILD) --target bench

clean:
	rm -rf $(BUILD)
