#pragma once

/// @file backprop_net.h
/// @brief NxNeuralNet, the back-propagation network.

#include <memory>
#include <string>
#include <vector>

#include "neural/backprop_layer.h"
#include "neural/message_error.h"
#include "neural/net.h"
#include "neural/training_output.h"

class NxBackPropPlan;
class NxFile;

/// A back-propagation network: learns a mapping from input patterns to target
/// patterns, presenting the pattern set epoch after epoch until every output
/// is within the tolerance or the epoch limit is reached. Weights change after
/// every pattern or once per epoch; training runs to completion in one call or
/// a few presentations at a time.
/// Pattern rows hold GetNumInputs() inputs followed by GetNumOutputs()
/// targets; the raw pointer calls do not check their lengths (the checked
/// forms in trainer.h do). Faults in a network or pattern file throw
/// XCMessage, with the reason also in GetErrorText().
class NX_EXPORT NxNeuralNet : public NxNeuralBase {
 public:
  /// Limits on what a file may ask for, so that no count in a file can make
  /// the library allocate without bound (the network's own size limits are
  /// the base's).
  static constexpr unsigned MAX_PATTERN_VALUES = 16u << 20;  ///< values, in all, of one pattern file
  static constexpr unsigned SPEC_LINE_SIZE = 80;  ///< bytes a network file line is read in, the ending 0 included; longer lines arrive in pieces
  /// Pattern lines may be of any length up to this one.
  static constexpr unsigned MAX_PATTERN_LINE = 64u << 20;

  /// Builds the network of a topology; nx::MakeBackPropNet() gives it in a
  /// std::unique_ptr.
  /// Mappings into layer 0 or out of layer 1, and layers without sources,
  /// are dropped with a warning.
  /// @throws XCNoInputLayer, XCNoOutputLayer, XCLayerCycle, XCNetworkTooLarge,
  /// XCLayerMismap, XCLayerOffset or a node's exception when the configuration
  /// cannot be built.
  explicit NxNeuralNet(const ConfigData& config);
  /// Builds the network from a network specification file.
  /// A file of "WORD : number" lines, LAYER blocks with NODES, dimensions,
  /// NODETYPE and TARGET groups; unknown words and values out of range warn
  /// and are ignored.
  /// @throws XCFile when the file cannot be opened; XCMessage for a fault
  /// the reader cannot pass over (a bad or repeated layer number, a NODES
  /// count out of range, dimensions that do not multiply to it, a broken
  /// PATTERN group); and what the other constructor throws.
  explicit NxNeuralNet(const char* fileName);
  ~NxNeuralNet() override;

  /// Every layer's momentum, clamped to 0..1.
  void SetGlobalMomentum(double momentum) override;
  /// Creates the back-propagation layers; BuildNetwork() calls it.
  void InitLayers() override;

  virtual unsigned GetReportInterval() const;  ///< epochs between progress records
  virtual unsigned GetMaxEpochs() const;       ///< the epoch limit of SetupTraining()
  virtual unsigned GetEpochCount() const;      ///< epochs trained so far
  virtual unsigned GetWorstPattern() const;    ///< the pattern of the largest error of the report period
  virtual double GetMaxPatternError() const;   ///< the largest output error of the report period
  virtual bool IsTraining() const;             ///< whether DoSomeTraining() has more to do
  /// Reads `count` patterns of a pattern file (0: every complete one) as
  /// the training set; nx::DataSet::FromPatternFile() is the checked form.
  virtual void ReadIOPatterns(NxFile& file, unsigned count);
  /// Reads patterns from the named file, as ReadIOPatterns(NxFile&, unsigned).
  virtual void ReadIOPatterns(const char* fileName, unsigned count);
  /// The largest accepted |output - target| of every output.
  virtual void SetOutputTolerance(double tolerance);
  /// Rows the net owns must come from new[]: it frees them with delete[].
  virtual void SetIOPatterns(double** rows, unsigned count, bool owns);
  /// Weights change once per epoch instead of after every pattern.
  virtual void SetTrainByEpoch(bool byEpoch);
  /// Where training keeps its progress records.
  virtual void SetTrainingOutputList(NxTrainingOutputList* list, bool owns);
  /// Prepares training a few presentations at a time with DoSomeTraining().
  virtual void SetupTraining(double** rows, unsigned count, unsigned reportInterval, double tolerance,
                             unsigned maxEpochs, bool byEpoch, bool ownsRows);
  /// The outputs for GetNumInputs() inputs; nx::Propagate() is the checked form.
  virtual double* Propagate(double* inputs);
  /// Trains on the next `count` presentations of SetupTraining()'s set.
  virtual void DoSomeTraining(unsigned count);
  /// Trains on patterns of a pattern file until every output is within the
  /// tolerance or `maxEpochs` are done; returns the epochs. nx::Train() is
  /// the checked form, with other algorithms and stop rules.
  virtual unsigned Train(const char* fileName, unsigned maxPatterns, unsigned reportInterval, unsigned maxEpochs,
                         bool byEpoch);
  /// Trains on patterns of an open file, as Train(const char*, ...).
  virtual unsigned Train(NxFile& file, unsigned maxPatterns, unsigned reportInterval, unsigned maxEpochs,
                         bool byEpoch);
  /// Trains on rows of inputs followed by targets, as Train(const char*, ...).
  virtual unsigned Train(double** rows, unsigned count, unsigned reportInterval, unsigned maxEpochs, bool byEpoch,
                         bool ownsRows);
  /// A new random order of the patterns (not when training by epoch).
  virtual void RandomizeIOPatterns();
  virtual void SetInputValues(double* values);   ///< presents GetNumInputs() inputs
  virtual void SetOutputValues(double* targets);  ///< sets GetNumOutputs() targets
  virtual void SetFullPattern(double* row);       ///< a row of inputs followed by targets
  /// Checks of the network-file reader on the value of the line just read;
  /// they are meaningful only while a network reads its file, whose state
  /// they use. IsValidLayer() accepts a whole number 0 to 15 not declared
  /// before and throws XCMessage otherwise. The others warn and return false
  /// for a value to ignore: a learning rate outside 0..10, a momentum
  /// outside 0..2, a field dimension that is not a whole number 1 to
  /// `limit`, a node type that is not a whole number 0 to MAJORITY (only 0
  /// in layer 0).
  ///@{
  virtual bool IsValidLayer(double value);
  virtual bool IsValidLearningRate(double value);
  virtual bool IsValidMomentum(double value);
  virtual bool IsValidPatternDimension(double value, unsigned limit);
  virtual bool IsValidNodeType(double value);
  ///@}
  /// The keyword of a command number, e.g. "LEARN-RATE"; "UNKNOWN" for any other number.
  virtual const char* GetCommandString(int command) const;
  /// NxBaseLayer::ScaleLearningRates(x) on every layer whose auto scaling
  /// is on (NxNeuralBase::SetAutoScaling()); x from 0 to 1.
  virtual void AutoScaleRates(double x);

  /// Reads the global defaults that may precede the first LAYER line.
  /// Reads up to and including that line; values out of range warn.
  /// @throws XCMessage when the file has no LAYER line.
  void ReadGlobalValues(NxFile& file);
  /// Whether a value read is a whole number 0 to 4294967295; warns, naming
  /// the command, and returns false otherwise. A reader check like
  /// IsValidLayer().
  bool IsUnsignedInteger(double value);

  unsigned GetNumPatterns() const { return NumPatterns; }  ///< patterns of the training set
  double** GetIOPatterns() const { return IOPatterns; }  ///< the training rows, owned as SetIOPatterns() said
  unsigned GetPatternOrder(unsigned position) const { return PatternOrder.at(position); }  ///< the row presented at `position` of an epoch; throws std::out_of_range past the set
  double GetOutputTolerance() const { return OutputTolerance; }  ///< see SetOutputTolerance()
  bool IsTrainByEpoch() const { return TrainByEpoch; }  ///< see SetTrainByEpoch()
  /// The GLOBAL-LEARN-RATE and GLOBAL-MOMENTUM ReadGlobalValues() read (0.5
  /// and 0.9 without): recorded only, the nodes' rates do not change.
  ///@{
  double GetGlobalLearnRate() const { return GlobalLearnRate; }
  double GetGlobalMomentum() const { return GlobalMomentum; }
  ///@}
  NxBackPropInputLayer* GetInputLayer() const { return InputLayer; }  ///< layer 0, owned by the network
  NxBackPropOutputLayer* GetOutputLayer() const { return OutputLayer; }  ///< layer 1, owned by the network

  /// Command numbers of the specification-file reader.
  enum SpecCommandId {
    CMD_EOF = -1,  ///< the end of the file, or an unknown word
    CMD_TARGET = 0,  ///< TARGET
    CMD_LAYER,  ///< LAYER
    CMD_NODES,  ///< NODES
    CMD_NODETYPE,  ///< NODETYPE
    CMD_X_DIMENSION,  ///< X-DIMENSION
    CMD_Y_DIMENSION,  ///< Y-DIMENSION
    CMD_LEARN_RATE,  ///< LEARN-RATE
    CMD_MOMENTUM,  ///< MOMENTUM
    CMD_PATTERN_X_DIMENSION,  ///< PATTERN-X-DIMENSION
    CMD_PATTERN_Y_DIMENSION,  ///< PATTERN-Y-DIMENSION
    CMD_X_OVERLAP,  ///< X-OVERLAP
    CMD_Y_OVERLAP,  ///< Y-OVERLAP
    CMD_GLOBAL_LEARN_RATE,  ///< GLOBAL-LEARN-RATE
    CMD_SCALE_FACTOR,  ///< SCALE-FACTOR
    CMD_GLOBAL_MOMENTUM,  ///< GLOBAL-MOMENTUM
    CMD_COUNT  ///< the number of keywords
  };

 private:
  void FreePatterns();
  void ResetReportPeriod();
  bool IsReportEpoch(unsigned epoch, unsigned interval) const;
  /// Presents one row; returns whether the output layer was trained.
  bool PresentPattern(unsigned row, bool keepErrors);
  void KeepErrors(const NxErrorTotals& totals, unsigned row);
  /// Each training call runs over the flat plan when the network is one it
  /// can run.
  void BeginFlatTraining();
  void DoFlatTraining(unsigned count);
  void FinishEpoch();
  unsigned RunTraining(unsigned reportInterval, unsigned maxEpochs);
  void UpdateEpochWeights();
  void WarnIfSaturated();

  /// Specification-file reader.
  [[noreturn]] void Fail(const char* format, ...) __attribute__((format(printf, 2, 3)));
  int ReadCommand();
  void PushBackCommand();
  bool ReadLayerBlock();
  void ReadRateLines();
  unsigned ReadNodesLine();
  TSize ReadDimensions(unsigned nodes);
  NODETYPE ReadNodeType();
  void ReadTargetGroups();
  void SkipTargetGroup();
  void ReadConnection();
  void ReadOverlapLines(TSize& step, const TSize& pattern);

  bool OwnsIOPatterns = false;
  unsigned SpecCommand = 0;
  unsigned SpecTarget = 0;
  unsigned SpecLayer = 0;
  unsigned MaxEpochs = 0;
  unsigned NumPatterns = 0;
  unsigned ReportInterval = 10;
  unsigned WorstPattern = 0;
  unsigned PatternIndex = 0;
  unsigned EpochCount = 0;
  double OutputTolerance = 0.00001;
  double** IOPatterns = nullptr;
  std::vector<unsigned> PatternOrder;
  char SpecText[SPEC_LINE_SIZE] = "";
  double MaxPatternError = 0;
  double SumSquareError = 0;
  double SumAbsError = 0;
  bool Training = false;
  bool AnyTrained = false;
  bool TrainByEpoch = false;
  NxBackPropInputLayer* InputLayer = nullptr;
  NxBackPropOutputLayer* OutputLayer = nullptr;
  NxTrainingOutputList* OutputList = nullptr;

  /// Reader state beyond the command, target and layer.
  double SpecValue = 0;
  NxFile* SpecFile = nullptr;
  std::string SpecFileName;
  bool SpecPushedBack = false;
  unsigned SpecLineNumber = 0;
  bool SpecLineEnded = true;  ///< the last piece read finished its line
  bool LayerDeclared[MAX_LAYERS] = {};
  double GlobalLearnRate = 0.5;
  double GlobalMomentum = 0.9;
  /// Saturation count at the start of the training run, and whether the run
  /// has warned about it.
  uint32_t SaturationMark = 0;
  bool SaturationWarned = false;
  std::unique_ptr<NxBackPropPlan> Plan;
  bool PlanActive = false;
};
