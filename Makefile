# Quick start: `make run` and `make test`. Both install missing Debian packages first.
MAKEFLAGS += --no-print-directory
BUILD      ?= build
ASAN_BUILD ?= $(BUILD)/asan
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
MODEL      ?= 3
SIM_IMAGE  ?= $(BUILD)/sim/model$(MODEL).img

.PHONY: all deps configure build test test-asan run clean

all: build

deps:
	@sh scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Every test of the product, then the core's tests again under ASan and UBSan.
test: build test-asan
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVESSOR_CORE_ONLY=ON -DVESSOR_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@ASAN_OPTIONS=detect_leaks=1:verify_asan_link_order=0 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# Opens the configuration utility on a freshly created simulated logger
# (MODEL=n picks another of the 18 models; the clock runs a minute a second).
run: build
	@mkdir -p $(dir $(SIM_IMAGE))
	@$(BUILD)/bin/vessor-logger sim-create --model $(MODEL) --logging $(SIM_IMAGE)
	@if [ -x $(BUILD)/bin/vessor-usb ]; then \
		VESSOR_SIM_SPEED=$${VESSOR_SIM_SPEED:-60} $(BUILD)/bin/vessor-usb --device sim:$(SIM_IMAGE); \
	else \
		VESSOR_SIM_SPEED=$${VESSOR_SIM_SPEED:-60} $(BUILD)/bin/vessor-logger --device sim:$(SIM_IMAGE) info; \
	fi

clean:
	rm -rf $(BUILD)
