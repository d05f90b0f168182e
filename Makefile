# make test   bootstrap (packages and libraries, reused when present), build, run every test under Wine
# make demo   bootstrap, build, run the launcher against a generated demo portal (the engine walk until it exists)
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all bootstrap configure build test demo bench clean

all: build

bootstrap:
	bash scripts/bootstrap

# The builds of this Makefile are for tests, the demo and the benchmarks: they trust the test key, whose private
# half is in the repository. A build for release is configured with the portal's own public key instead (README).
TEST_PARAM_KEY = $(CURDIR)/tests/fixtures/keys/test_only_never_ship_param_key_public.pem

CONFIGURE_ARGS = -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_PARAM_PUBLIC_KEY=$(TEST_PARAM_KEY)

# The tests, the demo and the benchmarks run the build's Windows programs under Wine. Where the kernel runs no
# 32-bit code (scripts/runs-32bit-code), Wine starts only 64-bit Windows programs: there they run a 64-bit build
# of the same sources, in $(BUILD)-x86_64, while $(BUILD) still holds the 32-bit deliverables.
RUN_ARCH := $(shell bash scripts/runs-32bit-code 2>/dev/null && echo i686 || echo x86_64)
ifeq ($(RUN_ARCH),i686)
RUN_BUILD = $(BUILD)
else
RUN_BUILD = $(BUILD)-x86_64
endif

configure: bootstrap
	cmake -S . -B $(BUILD) $(CONFIGURE_ARGS)
ifneq ($(RUN_BUILD),$(BUILD))
	cmake -S . -B $(RUN_BUILD) $(CONFIGURE_ARGS) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-$(RUN_ARCH).cmake
endif

build: configure
	cmake --build $(BUILD) -j$(JOBS)
ifneq ($(RUN_BUILD),$(BUILD))
	cmake --build $(RUN_BUILD) -j$(JOBS)
endif

# Includes run downward only: between the top-level folders, ui's layers and app's rooms (scripts/check-includes).
test: build
	python3 scripts/check-includes
	bash scripts/run-tests $(RUN_BUILD)

demo: build
	bash scripts/demo $(RUN_BUILD)

# Benchmarks print figures; they are not tests and are not part of make test.
bench: configure
	cmake --build $(RUN_BUILD) -j$(JOBS) --target benchmarks
	bash scripts/run-bench $(RUN_BUILD)
	python3 scripts/bench-engine $(RUN_BUILD)
	python3 scripts/bench-installer $(RUN_BUILD)

clean:
	rm -rf $(BUILD) $(BUILD)-x86_64
