BUILD ?= build
JOBS  ?= $(shell nproc)
# CI turns warnings into errors.
WERROR ?= OFF

.PHONY: deps build test run bench clean

deps:
	scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DARFOLYAM_WERROR=$(WERROR)
	cmake --build $(BUILD) -j$(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

run: build
	@echo "The wizard window is not built yet; 'make run' will start it on the demo database."
	@echo "Meanwhile: $(BUILD)/cli/arfolyam-cli /help"

bench: build
	cmake --build $(BUILD) --target bench

clean:
	rm -rf $(BUILD)
