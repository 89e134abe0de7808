# The two commands of the README: `make run` and `make test`. Both install what is missing first.
SANITIZE ?= 0
ifeq ($(SANITIZE),1)
  BUILD_DIR ?= build-asan
  BUILD_TYPE ?= Debug
else
  BUILD_DIR ?= build
  BUILD_TYPE ?= RelWithDebInfo
endif
JOBS ?= 2
# Where `make dist` puts the distribution folder; the tarball goes beside it.
DIST_DIR ?= $(BUILD_DIR)/dist
# ccache keys on paths relative to this folder, so a second checkout (or worktree) reuses the same objects.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1

.PHONY: all deps configure build test run dist clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVORLO_SANITIZE=$(SANITIZE)

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

run: build
	bash scripts/run-player.sh $(BUILD_DIR)

# The flat folder setup installs from, and a tarball of it.
dist: build
	bash scripts/make-dist.sh $(BUILD_DIR) $(DIST_DIR)

clean:
	rm -rf build build-asan
