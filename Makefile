# The two commands of the README: `make run` and `make test`.
BUILD_DIR ?= build
JOBS ?= 2

.PHONY: run test deps build sanitize tsan bench install package package-check

deps:
	@tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/bin/orvello

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# AddressSanitizer and UndefinedBehaviorSanitizer build of everything, then the tests.
sanitize: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DORVELLO_SANITIZE=ON
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ctest --output-on-failure -j $(JOBS)

# ThreadSanitizer build of everything, then the tests that run work on several threads.
TSAN_TESTS ?= tst_batch|tst_saveall|tst_prefetch|tst_imagefile|tst_startup|tst_stamprun|tst_openwith
tsan: deps
	cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DORVELLO_TSAN=ON
	cmake --build build-tsan -j $(JOBS)
	cd build-tsan && TSAN_OPTIONS="die_after_fork=0 suppressions=$(CURDIR)/tools/tsan.supp" \
	  ctest --output-on-failure -R '$(TSAN_TESTS)'

bench: build
	cmake --build $(BUILD_DIR) -j $(JOBS) --target benchmarks
	bench/run.sh $(BUILD_DIR)

# Installs under $(PREFIX) (default /usr/local); DESTDIR, when set, is put before it.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The Debian package, build/orvello_VERSION_ARCH.deb.
package: build
	cmake --build $(BUILD_DIR) --target package

# Installs the package with apt, uses the installed tools, removes it and checks nothing is left.
package-check: package
	tools/check-deb.sh $(BUILD_DIR)
