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

configure: bootstrap
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_PARAM_PUBLIC_KEY=$(TEST_PARAM_KEY)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

test: build
	bash scripts/run-tests $(BUILD)

demo: build
	bash scripts/demo $(BUILD)

# Benchmarks print figures; they are not tests and are not part of make test.
bench: configure
	cmake --build $(BUILD) -j$(JOBS) --target benchmarks
	bash scripts/run-bench $(BUILD)
	python3 scripts/bench-engine $(BUILD)
	python3 scripts/bench-installer $(BUILD)

clean:
	rm -rf $(BUILD)
