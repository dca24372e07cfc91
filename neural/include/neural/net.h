#pragma once
/// @file net.h
/// @brief NxNeuralBase, the base of both network kinds, with its topology
/// ConfigData; the temporal-difference network; and the plain factory
/// functions.

#include <functional>

#include "neural/export.h"
#include "neural/geometry.h"
#include "neural/layer.h"
#include "neural/pattern.h"
#include "neural/support.h"
#include "neural/types.h"

class NxFile;
class NxTempDiffInputLayer;
class NxTempDiffOutputLayer;

/// The base of both network kinds: up to 16 layers (0 input, 1 output, 2..15
/// hidden), each a grid of nodes, connected per (source, target) pair through
/// receptive-field mappings.
/// A network owns its layers, which own their nodes. Settings that name a
/// layer ignore a number the network has no layer for. The constructors
/// give every node the standard learning set-up (SetupStandardLearning(2.5))
/// and fresh random weights.
class NX_EXPORT NxNeuralBase {
 public:
  static constexpr unsigned MAX_LAYERS = 16;  ///< layers a network may have, numbered 0 to 15
  static constexpr unsigned TEXT_SIZE = 256;  ///< bytes of the error and warning texts, the ending 0 included
  /// Size limits of one network, checked before anything is built.
  /// Nodes in one layer, and connections (a weight per cell of every field
  /// feeding every node) in one network; XCNetworkTooLarge reports more.
  ///@{
  static constexpr unsigned MAX_LAYER_NODES = 65536;
  static constexpr unsigned MAX_CONNECTIONS = 4u << 20;
  ///@}

  /// The topology of a network: which layers exist, their sizes and node
  /// types, and which layer feeds which through what mapping.
  class NX_EXPORT ConfigData {
   public:
    /// No layers and no mappings.
    ConfigData();
    /// Copies every layer and mapping.
    ///@{
    ConfigData(const ConfigData& other);
    ConfigData& operator=(const ConfigData& other);
    ///@}
    ~ConfigData();

    /// Declares layer `layer` (0 to 15; beyond stops the program through
    /// NX_CHECK) as a grid of `size` nodes of `type`, replacing an earlier
    /// declaration. A network needs layer 0 (the inputs) and layer 1 (the
    /// outputs).
    void AddLayer(unsigned layer, const TSize& size, NODETYPE type);
    /// Connects layer `source` to layer `target` through a receptive field of
    /// `patternSize` cells, all connected, moved by `step` from one target node
    /// to the next and starting at `offset` (see NxOverlapPattern); a nonzero
    /// `skipValidation` spares it the geometry check. Replaces an earlier
    /// mapping of the pair. Layers above 15 stop the program.
    void AddMapping(unsigned source, unsigned target, const TSize& patternSize, const TSize& step,
                    const TSize& offset, unsigned skipValidation);
    /// Removes the layer's declaration; its mappings stay and are dropped, with a warning, when the network is built.
    void RemoveLayer(unsigned layer);
    /// Removes the mapping of the pair, if any.
    void RemoveMapping(unsigned source, unsigned target);
    /// Whether the layer is declared.
    bool HasLayer(unsigned layer) const;
    /// The declared node type; SIGMOID for a layer never declared.
    NODETYPE GetLayerNodeType(unsigned layer) const;
    /// The declared size; 0 x 0 for a layer never declared.
    TSize GetLayerSize(unsigned layer) const;
    /// The mapping from `source` to `target`, owned by the configuration, or
    /// nullptr when the pair is not connected.
    ///@{
    NxOverlapPattern* GetMapping(unsigned source, unsigned target);
    const NxOverlapPattern* GetMapping(unsigned source, unsigned target) const;
    ///@}

   private:
    static unsigned Slot(unsigned source, unsigned target);

    bool LayerPresent[MAX_LAYERS] = {};
    NODETYPE LayerNodeType[MAX_LAYERS] = {};
    TSize LayerSize[MAX_LAYERS];
    NxPtrArray<NxOverlapPattern> Mappings;
  };

  /// An empty network, for a subclass that reads its configuration itself and
  /// then calls BuildNetwork().
  NxNeuralBase();
  /// A network of `config`, copied; the subclass's constructor builds it with BuildNetwork().
  explicit NxNeuralBase(const ConfigData& config);
  NxNeuralBase(const NxNeuralBase&) = delete;
  NxNeuralBase& operator=(const NxNeuralBase&) = delete;

  virtual ~NxNeuralBase();
  virtual unsigned GetNumInputs() const;       ///< the nodes of layer 0
  virtual unsigned GetNumOutputs() const;      ///< the nodes of layer 1
  /// 1 while training, 2 once converged (or with nothing to train), 0 when
  /// the epoch limit ended it.
  virtual unsigned GetTrainingStatus() const;
  /// Writes every weight to a weights file (through a temporary file that
  /// replaces it once complete); false when it could not.
  virtual bool WriteWeights(const char* fileName, VERSIONFLAG version);
  /// Writes every weight to an open file.
  virtual bool WriteWeights(NxFile& file, VERSIONFLAG version);
  /// Reads weights written for a network of this shape; false, with the
  /// reason in GetErrorText(), for a file of another shape or a damaged one,
  /// and then no weight has changed.
  virtual bool ReadWeights(const char* fileName);
  /// Reads weights from an open file, as ReadWeights(const char*).
  virtual bool ReadWeights(NxFile& file);
  /// One learning rate for every node.
  virtual void SetGlobalLearningRate(double rate);
  /// One momentum for every node.
  virtual void SetGlobalMomentum(double momentum) = 0;
  /// Whether a layer's rates follow the rescaling of ScaleLearningRates().
  virtual void SetAutoScaling(unsigned layer, bool on);
  /// The standard set-up: every node's rate from its number of sources, at
  /// most `rate`, and a momentum of at most 0.5.
  virtual void SetupStandardLearning(double rate);
  /// One learning rate for every node of a layer.
  virtual void SetCustomLearningRate(unsigned layer, double rate);
  /// Adds a little random noise to the biases.
  virtual void AddNoise();
  /// The largest noise AddNoise() adds.
  virtual void SetNoiseLevel(double noise);
  /// Draws a layer's weights anew within +-range (0: from its sources).
  virtual void CustomizeInitialWeights(unsigned layer, double range);
  /// The standard set-up's schedule: every node's rate from the largest
  /// error of a period, 0 to 1.
  virtual void ScaleLearningRates(double factor);
  /// Shows the last warning through the warning handler.
  virtual void WarnMessage();
  /// Creates the layers of the network kind from the configuration.
  virtual void InitLayers() = 0;

  /// Layer 0 to 15, or nullptr when the network has no such layer.
  NxBaseLayer* GetLayer(unsigned layer) const { return layer < MAX_LAYERS ? Layers[layer] : nullptr; }
  const ConfigData& GetConfig() const { return Config; }  ///< the topology the network was built from
  unsigned GetWeightSetId() const { return WeightSetId; }  ///< the identifier of the last weights file read
  const char* GetErrorText() const { return ErrorText; }  ///< why the last refusal happened
  /// The text of the last warning, "" before any.
  const char* GetWarningText() const { return WarningText; }

 protected:
  /// How InitLayers creates the layers of one network kind.
  struct LayerFactory {
    std::function<NxBaseLayer*(const TSize&, const NxBaseLayer::SourceData&)> input;  ///< creates layer 0
    std::function<NxBaseLayer*(const TSize&, NODETYPE, const NxBaseLayer::SourceData&)> output;  ///< creates layer 1
    std::function<NxBaseLayer*(unsigned, const TSize&, NODETYPE, const NxBaseLayer::SourceData&)> hidden;  ///< creates hidden layer n
  };

  /// Validates the configuration and builds the network; subclasses call it
  /// from their constructors, once their own fields are set.
  /// layer0Warning is the kind's wording of the "mapping into layer 0" warning.
  void BuildNetwork(const char* layer0Warning, const char* noOutputText);
  /// Creates the layers in dependency order through the factory.
  void CreateLayers(const LayerFactory& factory);
  /// Formats a warning into WarningText (cut at TEXT_SIZE) and shows it
  /// through WarnMessage().
  void Warn(const char* format, ...) __attribute__((format(printf, 2, 3)));
  /// Calls `call` with `args` on every layer from `first` on that the network
  /// has; those layers are all of the class that declares `call`.
  template <class Layer, class... Params, class... Args>
  void CallLayers(unsigned first, void (Layer::*call)(Params...), Args... args) {
    for (unsigned layer = first; layer < MAX_LAYERS; ++layer)
      if (Layers[layer]) (static_cast<Layer*>(Layers[layer])->*call)(args...);
  }

  bool OwnsOutputList = false;  ///< the network deletes its progress list
  unsigned NumInputs = 0;  ///< the nodes of layer 0
  unsigned NumOutputs = 0;  ///< the nodes of layer 1
  unsigned TrainingStatus = 0;  ///< see GetTrainingStatus()
  unsigned WeightSetId = 1;  ///< see GetWeightSetId()
  char ErrorText[TEXT_SIZE] = "";  ///< see GetErrorText()
  char WarningText[TEXT_SIZE] = "";  ///< see GetWarningText()
  ConfigData Config;  ///< the topology, as left after building dropped what could not be built
  NxPtrArray<NxBaseLayer> Layers;  ///< MAX_LAYERS slots, owned; nullptr where there is no layer
  NxPtrArray<NxBaseLayer::SourceData> LayerSources;  ///< per layer, owned, the sources it was built with

 private:
  void DropInvalidConnections(const char* layer0Warning);
  void DropLayersWithoutSources();
  void CheckNetworkSize() const;
};

/// A network that learns to predict the outcome of a sequence of
/// observations by TD(lambda) with eligibility traces.
class NX_EXPORT NxTemporalDifferenceNet : public NxNeuralBase {
 public:
  /// Builds the network of `config` with the traces' persistence (lambda), 0
  /// to 1. Mappings into layer 0 or out of layer 1, and layers without sources,
  /// are dropped with a warning.
  /// @throws XCNoInputLayer, XCNoOutputLayer, XCLayerCycle, XCNetworkTooLarge,
  /// XCLayerMismap, XCLayerOffset or a node's exception when the configuration
  /// cannot be built.
  NxTemporalDifferenceNet(const ConfigData& config, double persistence);
  ~NxTemporalDifferenceNet() override;

  /// Momentum plays no part in temporal-difference learning: nothing happens.
  void SetGlobalMomentum(double momentum) override;
  /// Noise plays no part here either: nothing happens.
  void AddNoise() override;
  /// Nothing happens, as for AddNoise().
  void SetNoiseLevel(double noise) override;
  /// Creates the temporal-difference layers; BuildNetwork() calls it.
  void InitLayers() override;

  /// Starts a new sequence of observations.
  virtual void InitObservationSequence();
  /// The outputs for one observation of GetNumInputs() values; `train`
  /// learns from the difference to the previous prediction, `newSequence`
  /// starts a sequence. nx::Observe() is the checked form.
  virtual double* GetOutput(double* inputs, bool train, bool newSequence);
  /// Ends a sequence with its outcomes, one per output.
  virtual void TrainOnOutcomes(double* outcomes);
  /// The persistence (lambda) of the eligibility traces, 0 to 1, as
  /// GetPersistenceSetting() reports it. The nodes take their persistence
  /// when the network is built; this call does not reach them.
  virtual void SetTrainingPersistence(double persistence);
  /// Automatic learning rates, adjusted every `count` observations.
  virtual void SetAutoRates(bool on, unsigned count);

  double GetPersistenceSetting() const { return Persistence; }  ///< the persistence (lambda)

 protected:
  double Persistence;  ///< the persistence (lambda) given to new layers
  NxTempDiffInputLayer* InputLayer;  ///< layer 0, owned through Layers
  NxTempDiffOutputLayer* OutputLayer;  ///< layer 1, owned through Layers
};

/// Networks made here are freed with DeleteNet(). The checked layer's
/// nx::MakeBackPropNet() and nx::MakeTempDiffNet() (trainer.h) give the
/// network's own class in a std::unique_ptr that does so.
///
/// This one makes an NxNeuralNet of `config` and throws as its constructor.
NX_EXPORT NxNeuralBase* CreateBackPropNet(const NxNeuralBase::ConfigData& config);
/// An NxTemporalDifferenceNet of `config`, freed with DeleteNet(); throws as
/// its constructor.
NX_EXPORT NxNeuralBase* CreateTempDiffNet(const NxNeuralBase::ConfigData& config, double persistence);
/// Frees a network made by CreateBackPropNet() or CreateTempDiffNet(), or
/// by the checked layer; nullptr is allowed.
NX_EXPORT void DeleteNet(NxNeuralBase* net);
