# Quick start: `make run` and `make test`. Both install missing Debian packages first.
MAKEFLAGS += --no-print-directory
BUILD      ?= build
ASAN_BUILD ?= $(BUILD)/asan
PACKAGE_BUILD ?= $(BUILD)/package
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
MODEL      ?= 3
SIM_IMAGE  ?= $(BUILD)/sim/model$(MODEL).img

.PHONY: all deps configure build test test-asan run package clean

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

# The Debian package vessor-usb_VERSION_ARCH.deb, here: a Release build
# without the tests, with Debian's flags (hardening, and -O2: GCC 12 at -O3
# warns falsely about std::string), stripped by CPack.
# Install it with `sudo apt install ./vessor-usb_*.deb` (docs/packaging.md).
package: deps
	@eval "$$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)" && \
		CFLAGS="$$CFLAGS $$CPPFLAGS" CXXFLAGS="$$CXXFLAGS $$CPPFLAGS" \
		cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
		-DCMAKE_C_FLAGS_RELEASE=-DNDEBUG -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG \
		-DVESSOR_TESTS=OFF -DVESSOR_BENCHMARKS=OFF >/dev/null
	@cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	@rm -rf $(PACKAGE_BUILD)/deb
	@cd $(PACKAGE_BUILD) && cpack -G DEB -B deb >/dev/null
	@cp $(PACKAGE_BUILD)/deb/vessor-usb_*.deb .
	@echo "make package: $$(cd $(PACKAGE_BUILD)/deb && ls vessor-usb_*.deb)"

clean:
	rm -rf $(BUILD)
